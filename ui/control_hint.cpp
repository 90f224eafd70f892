#include "ui/control_hint.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

#include "app/control.h"

namespace rv::ui {

void showControlHint(QWidget& owner, const QHelpEvent& event, const Control* control) {
  if (control && !control->hint.empty())
    QToolTip::showText(event.globalPos(), QString::fromStdString(control->hint), &owner,
                       QRect(control->left, control->top, control->width, control->height));
  else
    QToolTip::hideText();
}

}  // namespace rv::ui
