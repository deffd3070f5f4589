#include "SkinControl.h"

#include <QLoggingCategory>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "BindingTable.h"
#include "ControlResults.h"
#include "ControlWidget.h"
#include "ElementBinding.h"
#include "SkinReader.h"
#include "WindowBackdrop.h"

namespace {

// Warnings by default; what was loaded, at debug level, only when asked for.
Q_LOGGING_CATEGORY(lcSkin, "veilnote.skin", QtInfoMsg)

}  // namespace

SkinControl::SkinControl() : m_bindings(std::make_shared<BindingTable>()) {}

HRESULT SkinControl::QueryInterface(const IID& riid, void** ppvObject) {
    return QueryFor(riid, ppvObject, {IID_ISkin});
}

HRESULT SkinControl::LoadSkin(const BSTR& path) {
    const QString file = QString::fromStdU16String(path);
    Loaded<Skin> skin = ReadSkinFile(file);
    if (const auto* error = std::get_if<FileError>(&skin)) {
        // The caller only learns that loading failed; a skin's author needs
        // to know where.
        qCWarning(lcSkin).noquote() << "cannot load skin" << Describe(file, *error);
        return ResultFor(error->problem);
    }
    m_skin = std::make_shared<const Skin>(std::get<Skin>(std::move(skin)));
    // Which file was taken, for whoever wonders where the look comes from.
    qCDebug(lcSkin).noquote() << "loaded skin" << file;
    return S_OK;
}

HRESULT SkinControl::ApplySkin(HWND window) {
    if (!window)
        return E_INVALIDARG;
    if (!m_skin)
        return E_UNEXPECTED;
    WindowBackdrop::Apply(*window, m_skin);
    if (!m_skin->windowLabel.isEmpty())
        window->setAccessibleName(m_skin->windowLabel);
    if (!m_skin->windowDescription.isEmpty())
        window->setAccessibleDescription(m_skin->windowDescription);
    if (!m_skin->editStyleSheet.isEmpty()) {
        for (QPlainTextEdit* edit : window->findChildren<QPlainTextEdit*>()) {
            edit->setStyleSheet(m_skin->editStyleSheet);
        }
        for (QTextEdit* edit : window->findChildren<QTextEdit*>()) {
            edit->setStyleSheet(m_skin->editStyleSheet);
        }
    }
    return S_OK;
}

HRESULT SkinControl::SetSkinElement(HWND control, const char16_t* element) {
    if (!control || !element)
        return E_INVALIDARG;
    if (!m_skin)
        return E_UNEXPECTED;
    const SkinElement* found = m_skin->FindElement(QStringView(element));
    if (!found)
        return E_INVALIDARG;
    ElementBinding::Bind(*control, *found, m_bindings);
    return S_OK;
}

HostedControl CreateSkinControl(QWidget* parent) {
    auto* widget = new ControlWidget(parent);  // owned by the dialog
    widget->setObjectName(QStringLiteral("SkinControl"));
    const ComPtr<SkinControl> object = SkinControl::Create();
    ComPtr<IUnknown> unknown(static_cast<ISkin*>(object.Get()));
    widget->Hold(unknown);
    return HostedControl{widget, std::move(unknown)};
}
