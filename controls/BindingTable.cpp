#include "BindingTable.h"

void BindingTable::Add(QWidget* control, const QString& element, const QString& followed) {
    std::erase_if(m_bindings, [&](const Binding& binding) {
        return !binding.control || binding.control == control;
    });
    m_bindings.push_back(Binding{control, element, followed});
}

bool BindingTable::IsShown(const QString& element) const {
    return std::any_of(m_bindings.begin(), m_bindings.end(), [&](const Binding& binding) {
        // Visible to its parent rather than on screen: a window that has not
        // been shown yet still has a view that counts as the current one.
        return binding.control && binding.element == element &&
               binding.control->isVisibleTo(binding.control->parentWidget());
    });
}

void BindingTable::RepaintFollowers(const QString& element) const {
    for (const Binding& binding : m_bindings) {
        if (binding.control && binding.followed == element)
            binding.control->update();
    }
}
