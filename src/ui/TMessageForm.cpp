#include "ui/TMessageForm.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace {

struct ButtonInfo
{
    TMsgDlgBtn button;
    const char *caption;
    int result;
};

const ButtonInfo kButtons[] = {
    {mbYes, "Да", mrYes},
    {mbNo, "Не", mrNo},
    {mbOK, "ОК", mrOk},
    {mbCancel, "Отказ", mrCancel},
    {mbAbort, "Прекъсване", mrAbort},
    {mbRetry, "Нов опит", mrRetry},
    {mbIgnore, "Игнориране", mrIgnore},
    {mbAll, "Всички", mrAll},
    {mbNoToAll, "Не за всички", mrNoToAll},
    {mbYesToAll, "Да за всички", mrYesToAll},
    {mbHelp, "Помощ", mrNone},
};

QStyle::StandardPixmap iconFor(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning:
        return QStyle::SP_MessageBoxWarning;
    case TMsgDlgType::mtError:
        return QStyle::SP_MessageBoxCritical;
    case TMsgDlgType::mtInformation:
        return QStyle::SP_MessageBoxInformation;
    case TMsgDlgType::mtConfirmation:
        return QStyle::SP_MessageBoxQuestion;
    case TMsgDlgType::mtCustom:
        break;
    }
    return QStyle::SP_CustomBase;
}

} // namespace

QString TMessageForm::captionFor(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning:
        return QStringLiteral("Внимание");
    case TMsgDlgType::mtError:
        return QStringLiteral("Грешка");
    case TMsgDlgType::mtConfirmation:
        return QStringLiteral("Потвърждение");
    case TMsgDlgType::mtInformation:
    case TMsgDlgType::mtCustom:
        break;
    }
    return QStringLiteral("Съобщение");
}

QString TMessageForm::buttonCaption(TMsgDlgBtn button)
{
    for (const ButtonInfo &info : kButtons) {
        if (info.button == button)
            return QString::fromUtf8(info.caption);
    }
    return QString();
}

int TMessageForm::buttonResult(TMsgDlgBtn button)
{
    for (const ButtonInfo &info : kButtons) {
        if (info.button == button)
            return info.result;
    }
    return mrNone;
}

TMessageForm::TMessageForm(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(captionFor(type));
    setFont(QApplication::font("QMessageBox"));

    // Measures follow the dialog font's average character.
    const QFontMetrics metrics(font());
    const int w = qMax(1, metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52);
    const int h = metrics.height();

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(8 * w / 4, 8 * h / 8, 8 * w / 4, 8 * h / 8);
    outer->setSpacing(10 * h / 8);

    auto *message = new QHBoxLayout;
    message->setSpacing(10 * w / 4);
    const QStyle::StandardPixmap icon = iconFor(type);
    if (icon != QStyle::SP_CustomBase) {
        auto *iconLabel = new QLabel(this);
        iconLabel->setPixmap(style()->standardIcon(icon).pixmap(32, 32));
        iconLabel->setAlignment(Qt::AlignTop);
        message->addWidget(iconLabel, 0, Qt::AlignTop);
    }
    const QString shown = QString(text).replace(QLatin1Char('\t'), QLatin1String("        "));
    auto *textLabel = new QLabel(shown, this);
    textLabel->setObjectName(QStringLiteral("Message"));
    textLabel->setWordWrap(true);
    textLabel->setTextFormat(Qt::PlainText);
    const QScreen *screen = parent ? parent->screen() : QApplication::primaryScreen();
    const int maxTextWidth = screen ? screen->availableGeometry().width() / 2 : 640;
    textLabel->setMaximumWidth(maxTextWidth);
    // The widest line as the label lays it out, with room for its frame and
    // margins and for the rounding of its text layout: a line measured
    // exactly to the pixel may still lose its last word to the next line.
    const QFontMetrics labelMetrics(textLabel->font());
    int widest = 0;
    for (const QString &line : shown.split(QLatin1Char('\n')))
        widest = qMax(widest, labelMetrics.horizontalAdvance(line));
    const int slack = 2 * (textLabel->frameWidth() + textLabel->margin()) + labelMetrics.averageCharWidth();
    textLabel->setMinimumWidth(qMin(maxTextWidth, widest + slack));
    textLabel->setMinimumHeight(icon != QStyle::SP_CustomBase ? 32 : 0);
    message->addWidget(textLabel, 1);
    outer->addLayout(message);

    auto *row = new QHBoxLayout;
    row->setSpacing(4 * w / 4);
    row->addStretch();
    for (const ButtonInfo &info : kButtons) {
        if (!buttons.testFlag(info.button))
            continue;
        auto *button = new QPushButton(QString::fromUtf8(info.caption), this);
        button->setAutoDefault(false);
        button->setMinimumSize(50 * w / 4, 14 * h / 8);
        const int result = info.result;
        if (info.button != mbHelp)
            connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
        m_buttons.append({info.button, button});
        row->addWidget(button);
    }
    row->addStretch();
    outer->addLayout(row);

    for (const TMsgDlgBtn candidate : {mbOK, mbYes, mbRetry}) {
        if ((m_default = button(candidate)))
            break;
    }
    if (m_default) {
        m_default->setDefault(true);
        m_default->setFocus();
    }
    m_cancelResult = buttons.testFlag(mbCancel) ? mrCancel
                     : buttons.testFlag(mbNo)   ? mrNo
                     : buttons.testFlag(mbOK)   ? mrOk
                                                : mrCancel;
    setFixedSize(sizeHint());
}

QPushButton *TMessageForm::button(TMsgDlgBtn which) const
{
    for (const auto &entry : m_buttons) {
        if (entry.first == which)
            return entry.second;
    }
    return nullptr;
}

void TMessageForm::reject()
{
    done(m_cancelResult);
}
