#include "mainwindow/TfrmAbout.h"

#include "core/AppSettings.h"
#include "core/TSettings.h"
#include "ui/VarnexApplication.h"
#include "util/Version.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmAbout::TfrmAbout(QWidget *owner)
    : TfrmYesNo(owner)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("За програмата"));
    btnCancel()->hide();
    TSettings &settings = AppSettings();
    const auto line = [this](const QString &text, bool bold = false) {
        auto *label = new QLabel(text, this);
        label->setAlignment(Qt::AlignCenter);
        if (bold) {
            QFont font = label->font();
            font.setBold(true);
            font.setPointSizeF(font.pointSizeF() * 1.3);
            label->setFont(font);
        }
        contentLayout()->addWidget(label);
    };
    line(VarnexApplication::title(), true);
    line(QStringLiteral("версия ") + versionText());
    line(settings.ReadString(QStringLiteral("clientinfo\\company"), QString()));
    line(settings.ReadString(QStringLiteral("clientinfo\\site"), QString()));
    line(settings.ReadString(QStringLiteral("clientinfo\\city"), QString()));
    resize(460, 220);
}

QString TfrmAbout::versionText()
{
    return varnex::programVersion();
}
