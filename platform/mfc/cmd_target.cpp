#include "platform/mfc/cmd_target.h"

const CRuntimeClass CCmdTarget::classCCmdTarget = {
    "CCmdTarget", static_cast<int>(sizeof(CCmdTarget)), nullptr, RUNTIME_CLASS(CObject)};

CRuntimeClass* CCmdTarget::GetRuntimeClass() const
{
    return RUNTIME_CLASS(CCmdTarget);
}

namespace
{

const AFX_MSGMAP_ENTRY g_noEntries[] = {{0, 0, 0, 0, nullptr}};
const AFX_MSGMAP g_rootMap = {nullptr, &g_noEntries[0]};

} // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    return &g_rootMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP* map, UINT msg, UINT code,
                                                     UINT id)
{
    const bool routed = msg == WM_COMMAND || msg == WM_NOTIFY;
    for (; map != nullptr; map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->thunk != nullptr; ++e)
        {
            if (e->nMessage != msg)
            {
                continue;
            }
            if (!routed || (e->nCode == code && id >= e->nID && id <= e->nLastID))
            {
                return e;
            }
        }
        if (map->pfnGetBaseMap == nullptr)
        {
            break;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    const UINT msg = WM_COMMAND;
    const AFX_MSGMAP_ENTRY* entry =
        FindMessageEntry(GetMessageMap(), msg, static_cast<UINT>(nCode), nID);
    if (entry == nullptr)
    {
        return FALSE;
    }
    if (pHandlerInfo != nullptr)
    {
        static_cast<AFX_CMDHANDLERINFO*>(pHandlerInfo)->pTarget = this;
        return TRUE;
    }
    LRESULT result = 0;
    return entry->thunk(this, nID, MAKEWPARAM(nID, static_cast<UINT>(nCode)),
                        reinterpret_cast<LPARAM>(pExtra), &result);
}
