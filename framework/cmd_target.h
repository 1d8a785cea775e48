// CCmdTarget: the root of every class with a message map.
#pragma once

#include <windows.h>

#include "framework/message_map.h"
#include "framework/object.h"

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // The first entry for (message, code, id) from this class's map down to
    // its bases, or null.
    const afxmap::Entry* FindMessageEntry(UINT message, UINT code, UINT id) const;
    // Finds the entry and calls its handler; the thunk's answer, or FALSE
    // when no entry matches.
    BOOL DispatchMessageEntry(UINT message, UINT code, UINT id, afxmap::Call& call);

protected:
    static const afxmap::Map* GetThisMessageMap();
    virtual const afxmap::Map* GetMessageMap() const;
};
