// Everything the framework offers, for the dialogs' convenience.
#pragma once

#include "framework/app.h"
#include "framework/cmd_target.h"
#include "framework/controls.h"
#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/file_find.h"
#include "framework/gdi.h"
#include "framework/geometry.h"
#include "framework/message_map.h"
#include "framework/object.h"
#include "framework/text.h"
#include "framework/window.h"
