#include "SampleWindow.h"

const std::vector<SampleButton>& SampleButtons() {
    static const std::vector<SampleButton> buttons = {
        {u"buttontab1", {414, 104, 32, 72}}, {u"buttontab2", {455, 104, 32, 72}},
        {u"HelpButton", {6, 7, 18, 16}},     {u"Button1", {2, 125, 98, 36}},
        {u"Button2", {2, 125, 98, 36}},      {u"Button3", {2, 172, 98, 33}},
        {u"Button4", {2, 172, 98, 33}},      {u"Button5", {2, 234, 98, 36}},
        {u"Button6", {2, 395, 95, 33}},
    };
    return buttons;
}

SampleWindow::SampleWindow() : m_edit(new QPlainTextEdit(this)), m_picture(new QLabel(this)) {
    setFixedSize(552, 447);
    m_picture->setGeometry(161, 187, 330, 218);
    m_picture->hide();
    m_edit->setGeometry(162, 187, 327, 216);
    m_edit->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_edit->hide();
    for (const SampleButton& sample : SampleButtons()) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString::fromUtf16(sample.element));
        button->setGeometry(sample.geometry);
    }
    ShowImageView();
}

QPushButton& SampleWindow::Button(QStringView element) const {
    return *findChild<QPushButton*>(element.toString());
}

void SampleWindow::ShowImageView() {
    if (!m_picture->pixmap().isNull())
        m_picture->show();
    m_edit->hide();
    Button(u"Button1").show();
    Button(u"Button3").show();
    Button(u"Button2").hide();
    Button(u"Button4").hide();
}

void SampleWindow::ShowMessageView() {
    m_picture->hide();
    m_edit->show();
    Button(u"Button1").hide();
    Button(u"Button3").hide();
    Button(u"Button2").show();
    Button(u"Button4").show();
}
