#include "inspect/display_options.h"

#include "inspect/page_marks.h"

#include <QCheckBox>
#include <QVBoxLayout>

namespace larkspan {

DisplayOptions::DisplayOptions(QWidget* parent) : QGroupBox(QStringLiteral("Options"), parent) {
    chk3DBorderStyle = new QCheckBox(QStringLiteral("no border"), this);
    chk3DBorderStyle->setObjectName(QStringLiteral("chk3DBorderStyle"));
    chkNoScrollBars = new QCheckBox(QStringLiteral("no scrollbars"), this);
    chkNoScrollBars->setObjectName(QStringLiteral("chkNoScrollBars"));
    chkDisablePopupMenu = new QCheckBox(QStringLiteral("no popup menu"), this);
    chkDisablePopupMenu->setObjectName(QStringLiteral("chkDisablePopupMenu"));
    auto* layout = new QVBoxLayout(this);
    for (QCheckBox* box : {chk3DBorderStyle, chkNoScrollBars, chkDisablePopupMenu}) {
        layout->addWidget(box);
    }
    connect(chk3DBorderStyle, &QCheckBox::clicked, this,
            [this](bool checked) { emit borderClicked(!checked); });
    connect(chkNoScrollBars, &QCheckBox::clicked, this, &DisplayOptions::scrollBarsClicked);
}

bool DisplayOptions::noPopupMenu() const {
    return chkDisablePopupMenu->isChecked();
}

void DisplayOptions::applyAfterDownload(TWebbrowser* current) const {
    if (chk3DBorderStyle->isChecked()) {
        SetBodyBorder(current, false);
    }
    if (chkNoScrollBars->isChecked()) {
        SetBodyScrollBars(current, true);
    }
}

}  // namespace larkspan
