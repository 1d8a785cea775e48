// Implemented by the two prompt dialogs; nothing in the program calls it yet.
#pragma once

namespace VELQINTERFACE {

class IVELQNotifyReceiver {
public:
    virtual ~IVELQNotifyReceiver() = default;
    virtual void HandleNotification() = 0;
};

}  // namespace VELQINTERFACE
