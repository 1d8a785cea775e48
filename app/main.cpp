// The program's one application object, built by the runtime before start-up.
#include "app/velq_app.h"

CVELQApp theApp;
