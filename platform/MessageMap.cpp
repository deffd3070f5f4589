#include "MessageMap.h"

const MessageMapEntry* MessageMap::Find(UINT message, UINT code, int id) const {
    for (const MessageMap* map = this; map; map = map->m_base) {
        for (const MessageMapEntry& entry : map->m_entries) {
            if (entry.message == message && entry.code == code &&
                (entry.id == kAnyId || entry.id == id)) {
                return &entry;
            }
        }
    }
    return nullptr;
}

bool CCmdTarget::OnWndMsg(MessageContext& context) {
    const MessageMapEntry* entry = GetMessageMap().Find(context.message, context.code, context.id);
    if (!entry)
        return false;
    entry->call(*this, context);
    return true;
}

const MessageMap& CCmdTarget::GetMessageMap() const {
    static const MessageMap map(nullptr, {});
    return map;
}
