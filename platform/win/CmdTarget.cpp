#include "CmdTarget.h"

const MsgMapEntry* CCmdTarget::FindEntry(MsgKind kind, UINT message, UINT code) const {
    // Derived tables first, so a class overrides what its base maps.
    for (const MsgMap* map = GetMessageMap(); map; map = map->base) {
        for (size_t i = 0; i < map->count; ++i) {
            const MsgMapEntry& e = map->entries[i];
            if (e.kind == kind && e.message == message && e.code == code) return &e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, CCmdUI* pUI) {
    if (pUI) {
        if (const MsgMapEntry* update = FindEntry(MsgKind::UpdateCommand, nID, 0)) {
            pUI->Enable();  // an update handler that says nothing leaves the command usable
            update->thunk(this, 0, reinterpret_cast<LPARAM>(pUI));
            return TRUE;
        }
        if (FindEntry(MsgKind::Command, nID, 0)) {
            pUI->Enable();
            return TRUE;
        }
        return FALSE;
    }
    if (const MsgMapEntry* cmd = FindEntry(MsgKind::Command, nID, 0)) {
        cmd->thunk(this, 0, 0);
        return TRUE;
    }
    return FALSE;
}

CCmdUI CCmdTarget::ProbeCommand(UINT nID) {
    CCmdUI state;
    state.m_nID = nID;
    if (!OnCmdMsg(nID, &state)) state.m_bEnabled = false;
    return state;
}
