#pragma once

#include <QDialog>
#include <QWebEngineSettings>

#include <utility>
#include <vector>

class QCheckBox;

namespace larkspan::browser {

// "Internet Options": the engine's settings that a user may want to change, as check boxes.
// OK applies them to every browser of the program; Cancel changes nothing.
class EngineSettingsDialog : public QDialog {
    Q_OBJECT

public:
    EngineSettingsDialog(QWebEngineSettings* settings, QWidget* parent = nullptr);

    void accept() override;

private:
    QWebEngineSettings* m_settings;
    std::vector<std::pair<QCheckBox*, QWebEngineSettings::WebAttribute>> m_boxes;
};

}  // namespace larkspan::browser
