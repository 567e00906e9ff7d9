// Builds a dialog's controls from its template: members are bound by id, every
// other control becomes a plain widget of its class.
#pragma once

#include "res/DialogTemplates.h"

#include <QFont>
#include <QHash>

#include <functional>

class QDialog;
class QWidget;

// Returns the member widget for a control, or nullptr to have a plain one made.
using ControlBinder = std::function<QWidget*(const DialogControl&)>;

// The skin was drawn for Windows faces; maps them to their closest installed
// cousins ("Arial Black" to Lato Black, the others to Liberation Sans).
void SubstituteWindowsFonts();

// Font of a template, with the Windows faces substituted.
QFont TemplateFont(const DialogTemplate& tpl);

// Creates every control of the template as a visible child of dialog, in template
// (tab) order, at its template rectangle, with its text and (for combo boxes) the
// items in ConverterComboItems(). IDOK and IDCANCEL buttons accept and reject a
// QDialog. Returns the widgets by control id (unnamed statics are left out).
QHash<int, QWidget*> CreateTemplateControls(QWidget& dialog, const DialogTemplate& tpl,
                                            const QSize& baseUnits, const ControlBinder& bind);

// Caption, font, fixed size and controls of a secondary dialog.
QHash<int, QWidget*> BuildDialogFromTemplate(QDialog& dialog, const DialogTemplate& tpl,
                                             const ControlBinder& bind = {});
