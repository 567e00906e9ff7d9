#include "TemplateBuilder.h"

#include "SkinBitmaps.h"
#include "resource.h"

#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

namespace {
Qt::Alignment StaticAlignment(unsigned style)
{
    Qt::Alignment vertical = (style & dlgstyle::kCenterImage) ? Qt::AlignVCenter : Qt::AlignTop;
    if (style & dlgstyle::kCenter)
        return Qt::AlignHCenter | vertical;
    if (style & dlgstyle::kRight)
        return Qt::AlignRight | vertical;
    return Qt::AlignLeft | vertical;
}

QWidget* MakePlainControl(const DialogControl& ctl)
{
    switch (ctl.cls) {
    case ControlClass::Button: {
        auto* button = new QPushButton;
        button->setAutoDefault(false);
        button->setDefault(ctl.style & dlgstyle::kDefPushButton);
        button->setFlat(ctl.style & dlgstyle::kFlat);
        return button;
    }
    case ControlClass::Static: {
        auto* label = new QLabel;
        label->setAlignment(StaticAlignment(ctl.style));
        return label;
    }
    case ControlClass::Edit: return new QLineEdit;
    case ControlClass::GroupBox: return new QGroupBox;
    case ControlClass::Icon: {
        auto* label = new QLabel;
        label->setPixmap(LoadAppIcon().pixmap(32, 32));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlClass::ComboBox: return new QComboBox;
    case ControlClass::ListView: return new QTableWidget;
    case ControlClass::Progress: return new QProgressBar;
    case ControlClass::EngineControl: return new QWidget;
    }
    return new QWidget;
}

// The template's text, given to whichever kind of widget carries one.
void ApplyText(QWidget* widget, const DialogControl& ctl)
{
    const QString text = QString::fromUtf8(ctl.text);
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(widget); label && ctl.cls != ControlClass::Icon)
        label->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(text);
}

void FillComboItems(QWidget* widget, int id)
{
    auto* combo = qobject_cast<QComboBox*>(widget);
    if (!combo)
        return;
    for (const ComboItems& list : ConverterComboItems()) {
        if (list.id != id)
            continue;
        const QSignalBlocker blocker(combo);
        for (const char* item : list.items)
            combo->addItem(QString::fromUtf8(item));
    }
}

void ConnectDialogKeys(QWidget& dialog, QWidget* widget, int id)
{
    auto* dlg = qobject_cast<QDialog*>(&dialog);
    auto* button = qobject_cast<QAbstractButton*>(widget);
    if (!dlg || !button)
        return;
    if (id == IDOK)
        QObject::connect(button, &QAbstractButton::clicked, dlg, &QDialog::accept);
    else if (id == IDCANCEL)
        QObject::connect(button, &QAbstractButton::clicked, dlg, &QDialog::reject);
}
// Average character width and height of a font, as the platform derives dialog
// base units from a dialog's font.
QSize DialogBaseUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int alphabetWidth =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return QSize((alphabetWidth / 26 + 1) / 2, metrics.height());
}
} // namespace

void SubstituteWindowsFonts()
{
    static const bool done = [] {
        const QStringList sans{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
        QFont::insertSubstitutions(QStringLiteral("Arial"), sans);
        QFont::insertSubstitutions(QStringLiteral("Arial Black"),
                                   {QStringLiteral("Lato Black"), QStringLiteral("DejaVu Sans")});
        return true;
    }();
    Q_UNUSED(done);
}

QFont TemplateFont(const DialogTemplate& tpl)
{
    SubstituteWindowsFonts();
    QFont font(QString::fromUtf8(tpl.fontFace));
    font.setPointSize(tpl.fontPoints);
    return font;
}

QHash<int, QWidget*> CreateTemplateControls(QWidget& dialog, const DialogTemplate& tpl,
                                            const QSize& baseUnits, const ControlBinder& bind)
{
    QHash<int, QWidget*> controls;
    QWidget* previous = nullptr;
    for (const DialogControl& ctl : tpl.controls) {
        QWidget* widget = bind ? bind(ctl) : nullptr;
        if (!widget)
            widget = MakePlainControl(ctl);
        widget->setParent(&dialog);
        widget->setGeometry(DluToPixels(ctl.rectDlu, baseUnits));
        widget->setFocusPolicy((ctl.style & dlgstyle::kTabStop) ? Qt::StrongFocus : Qt::NoFocus);
        ApplyText(widget, ctl);
        FillComboItems(widget, ctl.id);
        ConnectDialogKeys(dialog, widget, ctl.id);
        widget->show();
        if (ctl.id != kNoControlId) {
            widget->setObjectName(QStringLiteral("ctl%1").arg(ctl.id));
            controls.insert(ctl.id, widget);
        }
        if (widget->focusPolicy() != Qt::NoFocus) {
            if (previous)
                QWidget::setTabOrder(previous, widget);
            previous = widget;
        }
    }
    return controls;
}

QHash<int, QWidget*> BuildDialogFromTemplate(QDialog& dialog, const DialogTemplate& tpl,
                                             const ControlBinder& bind)
{
    dialog.setWindowTitle(QString::fromUtf8(tpl.caption));
    dialog.setFont(TemplateFont(tpl));
    const QSize baseUnits = DialogBaseUnits(dialog.font());
    dialog.setFixedSize(DluToPixels(tpl.sizeDlu, baseUnits));
    return CreateTemplateControls(dialog, tpl, baseUnits, bind);
}
