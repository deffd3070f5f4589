#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "Com.h"

class QWidget;

// An ActiveX control placed in a dialog: the widget that stands at the
// template's place (owned by the dialog through Qt's parent ownership) and
// the control's object.
struct HostedControl {
    QWidget* widget = nullptr;
    ComPtr<IUnknown> unknown;
};

// Creates a control's widget as a child of `parent`, and its object.
using ControlFactory = std::function<HostedControl(QWidget* parent)>;

// The controls that dialogs can host, by class ID: this system's registry of
// installed controls. Filled before the first dialog is created.
class ControlRegistry {
public:
    void Register(const CLSID& clsid, ControlFactory factory);
    // An empty HostedControl when no control of that class is registered.
    HostedControl Create(const CLSID& clsid, QWidget* parent) const;

private:
    std::vector<std::pair<CLSID, ControlFactory>> m_factories;
};
