// SPDX-License-Identifier: GPL-3.0-or-later
// Text boxes: how they are made, shown, styled and typed into.
#include <QApplication>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>
#include <memory>

#include "platform/qt/form_widget.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_printing.h"
#include "platform/user_input.h"

namespace vantrel {
namespace {

Qt::Alignment horizontal(Align align) {
  switch (align) {
    case Align::Centre:
      return Qt::AlignHCenter;
    case Align::Right:
      return Qt::AlignRight;
    case Align::Left:
      break;
  }
  return Qt::AlignLeft;
}

}  // namespace

QWidget* FormWidget::createTextBox(Control& control, QWidget* parent) {
  Control* c = &control;
  if (control.style().multiLine) {
    auto* edit = new QPlainTextEdit(parent);
    watch(edit->viewport(), control);
    connect(edit, &QPlainTextEdit::textChanged, this, [this, c, edit] {
      if (!updating_ && !detached_) userEdited(*c, edit->toPlainText());
    });
    return edit;
  }
  auto* edit = new QLineEdit(parent);
  edit->setFrame(true);
  // What the box showed before the change (textEdited comes first, and textChanged
  // then carries the edited text even when the edit was taken back: read the box), so a
  // refused edit can be taken back whole, as the widget's undo, which merges a run of
  // typing, would not.
  auto before = std::make_shared<QString>();
  connect(edit, &QLineEdit::textChanged, this, [before, edit] { *before = edit->text(); });
  connect(edit, &QLineEdit::textEdited, this, [this, c, edit, before](const QString& text) {
    if (updating_ || detached_) return;
    if (userRefused(*c, text)) {
      const int cursor = edit->cursorPosition() - (text.size() - before->size());
      const QSignalBlocker quiet(edit);
      edit->setText(*before);
      edit->setCursorPosition(std::max(0, cursor));
      userRefuses(*c, screenToModelText(text));
      return;
    }
    userEdited(*c, text);
  });
  return edit;
}

void FormWidget::applyBoxText(Bound& bound, const QString& text) {
  Control& control = *bound.control;
  QWidget* widget = bound.widget;
  if (editing_ == &control) {
    // The user's own edit: the box keeps what was typed until the focus leaves.
    bound.textPending = true;
    return;
  }
  bound.textPending = false;
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    if (edit->text() != text) {
      const int cursor = edit->cursorPosition();
      edit->setText(text);
      // A text put there by the program shows from its start, as a name or address
      // longer than its box should; the user's own box keeps the cursor where it was.
      edit->setCursorPosition(edit->hasFocus() ? std::min<int>(cursor, text.size()) : 0);
    }
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
    if (edit->toPlainText() != text) {
      const int cursor = edit->textCursor().position();
      edit->setPlainText(text);
      QTextCursor moved = edit->textCursor();
      moved.setPosition(std::min<int>(cursor, text.size()));
      edit->setTextCursor(moved);
    }
  }
}

void FormWidget::applyStyle(Bound& bound) {
  const Style& style = bound.control->style();
  QWidget* widget = bound.widget;
  QFont font = widget->font();
  if (!style.fontName.empty()) {
    font = printFont(PrintFont{.name = style.fontName, .points = font.pointSizeF()});
  }
  if (style.fontPoints > 0) font.setPointSizeF(style.fontPoints);
  font.setBold(style.bold);
  widget->setFont(font);
  bound.font = font;
  const Qt::Alignment align = horizontal(style.align);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    // Bare text lines up with the labels beside it, which sit at the top of their boxes.
    edit->setAlignment(align | (style.borderless ? Qt::AlignTop : Qt::AlignVCenter));
    edit->setReadOnly(style.readOnly);
    edit->setFrame(!style.borderless);
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
    edit->setReadOnly(style.readOnly);
  } else if (auto* label = qobject_cast<QLabel*>(widget);
             label != nullptr && bound.control->kind() == ControlKind::Label) {
    label->setAlignment(align | Qt::AlignTop);
  }
  if (style.foreColour != colour::black) {
    QPalette palette = widget->palette();
    const QColor colour = toQColor(style.foreColour, QApplication::palette());
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
      palette.setColor(role, colour);
    }
    widget->setPalette(palette);
  }
}

void FormWidget::fitText(Bound& bound) {
  // A command's caption, longer in some languages than its button, is drawn smaller too.
  auto* button = qobject_cast<QPushButton*>(bound.widget);
  const bool command = button != nullptr && !button->text().isEmpty();
  if (!bound.control->style().shrinkToFit && !command) return;
  QString text = modelToScreenText(bound.control->shownText());
  constexpr double kSmallest = 6;
  int margins = 4;
  if (command) {
    text = withoutMnemonic(text);
    margins = pushButtonMargins(*button);
  }
  if (auto* edit = qobject_cast<QLineEdit*>(bound.widget); edit != nullptr && edit->hasFrame()) {
    // The frame on both sides, and the box's own text margins inside it.
    margins = 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit) + 6;
  }
  QFont font = bound.font;
  const double wide = QFontMetricsF(font).horizontalAdvance(text);
  const double room = bound.widget->width() - margins;
  if (wide > room && room > 0) {
    font.setPointSizeF(std::max(kSmallest, font.pointSizeF() * room / wide));
    // Glyph widths do not scale exactly with the size: a step smaller until it fits.
    while (font.pointSizeF() > kSmallest && QFontMetricsF(font).horizontalAdvance(text) > room) {
      font.setPointSizeF(std::max(kSmallest, font.pointSizeF() - 0.25));
    }
  }
  bound.widget->setFont(font);
}

// A one-line box's edit that its control refuses: refused as a key filter refuses a letter.
bool FormWidget::userRefused(Control& box, const QString& text) const {
  return box.refuses && !box.refuses(screenToModelText(text)).empty();
}

void FormWidget::userEdited(Control& box, const QString& text) {
  Bound* bound = boundFor(&box);
  if (bound == nullptr) return;
  if (!form_.focus(box)) {
    // Another box kept the focus: the edit did not happen.
    applyText(*bound);
    return;
  }
  Control* outer = editing_;
  editing_ = &box;
  if (box.kind() == ControlKind::TextBox) {
    setField(box, screenToModelText(text));
  } else {
    setField(box, fromQString(text));
  }
  editing_ = outer;
  if (box.kind() == ControlKind::TextBox) {
    bound->textPending = screenText(*bound) != modelToScreenText(box.shownText());
  }
}

bool FormWidget::filterKey(Bound& bound, QKeyEvent* event) {
  Control& box = *bound.control;
  if (event->matches(QKeySequence::Paste)) return false;  // a paste is written unfiltered
  const bool command = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
  const QString text = event->text();
  QString keys;
  if (event->key() == Qt::Key_Backspace) {
    keys = QStringLiteral("\b");
  } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    keys = QStringLiteral("\r");
  } else if (!command && !text.isEmpty() && text[0] >= QLatin1Char(' ') && text[0] != QChar(0x7F)) {
    keys = text;
  } else {
    return false;  // cursor keys, Tab, shortcuts: Qt's own
  }
  if (!box.reachable()) return true;
  // A decimal comma typed into a box of figures is the point: the widget is given that
  // key instead, which comes back through here.
  if (keys == QStringLiteral(",") && typedKey(box, ',') == '.') {
    QKeyEvent point(QEvent::KeyPress, Qt::Key_Period, event->modifiers() & ~Qt::KeypadModifier,
                    QStringLiteral("."));
    QCoreApplication::sendEvent(bound.widget, &point);
    return true;
  }
  if (!form_.focus(box)) return true;  // another box kept the focus
  if (box.onKeyPress) {
    auto filter = box.onKeyPress;
    for (QChar ch : keys) {
      if (!filter(keyCharFor(QString(ch)))) return true;
    }
  }
  // Enter adds nothing to a one-line box.
  if (keys == QStringLiteral("\r") && !box.style().multiLine) return true;
  return false;  // the widget edits; the new text reaches the model through userEdited
}

}  // namespace vantrel
