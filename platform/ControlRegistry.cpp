#include "ControlRegistry.h"

#include <algorithm>

void ControlRegistry::Register(const CLSID& clsid, ControlFactory factory) {
    const auto found = std::find_if(m_factories.begin(), m_factories.end(),
                                    [&](const auto& entry) { return entry.first == clsid; });
    if (found != m_factories.end()) {
        found->second = std::move(factory);
    } else {
        m_factories.emplace_back(clsid, std::move(factory));
    }
}

HostedControl ControlRegistry::Create(const CLSID& clsid, QWidget* parent) const {
    for (const auto& [id, factory] : m_factories) {
        if (id == clsid)
            return factory(parent);
    }
    return {};
}
