#include "framework/cmd_target.h"

const CRuntimeClass CObject::classCObject = {"CObject", nullptr};

CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const afxmap::Map* CCmdTarget::GetThisMessageMap() {
    static const afxmap::Entry entries[] = {{0, 0, 0, 0, nullptr}};
    static const afxmap::Map map = {nullptr, &entries[0]};
    return &map;
}

const afxmap::Map* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const afxmap::Entry* CCmdTarget::FindMessageEntry(UINT message, UINT code, UINT id) const {
    for (const afxmap::Map* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const afxmap::Entry* e = map->entries; e->thunk; ++e) {
            if (e->message == message && e->code == code && e->idFirst <= id && id <= e->idLast) return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::DispatchMessageEntry(UINT message, UINT code, UINT id, afxmap::Call& call) {
    const afxmap::Entry* entry = FindMessageEntry(message, code, id);
    return entry ? entry->thunk(this, call) : FALSE;
}
