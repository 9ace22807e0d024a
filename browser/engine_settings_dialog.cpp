#include "browser/engine_settings_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace larkspan::browser {

EngineSettingsDialog::EngineSettingsDialog(QWebEngineSettings* settings, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
    setObjectName(QStringLiteral("EngineSettingsDialog"));
    setWindowTitle(QStringLiteral("Internet Options"));
    auto* layout = new QVBoxLayout(this);

    const std::pair<const char*, QWebEngineSettings::WebAttribute> choices[] = {
        {"Load images automatically", QWebEngineSettings::AutoLoadImages},
        {"Run scripts of pages", QWebEngineSettings::JavascriptEnabled},
        {"Let scripts open new windows", QWebEngineSettings::JavascriptCanOpenWindows},
        {"Show PDF files in the browser", QWebEngineSettings::PdfViewerEnabled},
        {"Scroll smoothly", QWebEngineSettings::ScrollAnimatorEnabled},
        {"Show the engine's page when a page cannot be loaded",
         QWebEngineSettings::ErrorPageEnabled},
    };
    for (const auto& [text, attribute] : choices) {
        auto* box = new QCheckBox(QString::fromLatin1(text), this);
        box->setChecked(settings->testAttribute(attribute));
        layout->addWidget(box);
        m_boxes.emplace_back(box, attribute);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &EngineSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &EngineSettingsDialog::reject);
    layout->addWidget(buttons);
}

void EngineSettingsDialog::accept() {
    for (const auto& [box, attribute] : m_boxes) {
        m_settings->setAttribute(attribute, box->isChecked());
    }
    QDialog::accept();
}

}  // namespace larkspan::browser
