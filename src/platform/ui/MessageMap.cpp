#include <utility>

#include "mfc/CWnd.h"

void CMessageMap::OnCommand(UINT code, int id, CommandHandler handler) {
    m_entries.push_back({WM_COMMAND, code, id, id, [h = std::move(handler)](UINT) { h(); }, {}});
}

void CMessageMap::OnCommandRange(UINT code, int firstId, int lastId, RangeHandler handler) {
    m_entries.push_back({WM_COMMAND, code, firstId, lastId, std::move(handler), {}});
}

void CMessageMap::OnNotify(UINT code, int id, NotifyHandler handler) {
    m_entries.push_back({WM_NOTIFY, code, id, id, {}, std::move(handler)});
}

// Entries are searched from the last added: a derived class declares after its base and wins.
bool CMessageMap::DispatchCommand(UINT code, int id) const {
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        if (it->message == WM_COMMAND && it->code == code && id >= it->firstId &&
            id <= it->lastId) {
            it->command(static_cast<UINT>(id));
            return true;
        }
    }
    return false;
}

bool CMessageMap::DispatchNotify(NMHDR* header, LRESULT* result) const {
    const int id = static_cast<int>(header->idFrom);
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        if (it->message == WM_NOTIFY && it->code == header->code && id >= it->firstId &&
            id <= it->lastId) {
            it->notify(header, result);
            return true;
        }
    }
    return false;
}
