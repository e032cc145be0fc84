// SPDX-License-Identifier: GPL-3.0-or-later
// What a keyboard user and a screen reader get from a window: names, access keys, figures
// the keyboard reaches, the readings of several boxes as one, announcements, Escape and a
// focus ring that can be seen.
#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFocusFrame>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <set>

#include "platform/qt/form_widget.h"
#include "platform/qt/qt_convert.h"
#include "platform/spoken.h"
#include "platform/user_input.h"

namespace vantrel {
namespace {

// ---- readings ----

constexpr const char* kReading = "reading";

// What is left of a reading without its digits: "Job clock, ::, running".
QString withoutFigures(const QString& text) {
  QString rest;
  rest.reserve(text.size());
  for (const QChar c : text) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) rest += c;
  }
  return rest;
}

// Several boxes read as one figure: one stop for Tab, one name, its value copied with
// Ctrl+C. The boxes inside are drawn as before but are not stops of their own.
class ReadingFace : public QWidget {
 public:
  explicit ReadingFace(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setObjectName(QStringLiteral("reading"));
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->matches(QKeySequence::Copy)) {
      QApplication::clipboard()->setText(property(kReading).toString());
      return;
    }
    QWidget::keyPressEvent(event);
  }
};

// A screen reader sees a reading as one text with nothing inside it.
class ReadingAccessible : public QAccessibleWidget {
 public:
  explicit ReadingAccessible(QWidget* widget)
      : QAccessibleWidget(widget, QAccessible::StaticText) {}
  // Always the reading as it stands, although its change is told only when more than the
  // figure changes: a clock read out every second would drown everything else.
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return widget()->property(kReading).toString();
    return QAccessibleWidget::text(t);
  }
  int childCount() const override { return 0; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
};

QAccessibleInterface* readingFactory(const QString&, QObject* object) {
  if (auto* face = dynamic_cast<ReadingFace*>(object)) return new ReadingAccessible(face);
  return nullptr;
}

// ---- the focus ring ----

double luminance(const QColor& colour) {
  auto channel = [](double c) {
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
         0.0722 * channel(colour.blueF());
}

double contrast(const QColor& a, const QColor& b) {
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The ring lies outside the control, above whatever stands next to it.
class RingStyle : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    if (metric == PM_FocusFrameHMargin || metric == PM_FocusFrameVMargin) return kRing + 1;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_FocusFrame_AboveWidget) return 1;
    if (hint == SH_FocusFrame_Mask) return 0;
    return QProxyStyle::styleHint(hint, option, widget, data);
  }
  static constexpr int kRing = 2;
};

RingStyle* ringStyle() {
  static RingStyle* style = [] {
    auto* made = new RingStyle;
    made->setParent(qApp);
    return made;
  }();
  return style;
}

// A 2-pixel ring in black or white, whichever stands out more against both the control and
// what surrounds it, edged outside with a pixel of the other so it shows on any colour.
class FocusRing : public QFocusFrame {
 public:
  explicit FocusRing(QWidget* parent) : QFocusFrame(parent) {
    setStyle(ringStyle());
    setObjectName(QStringLiteral("focusRing"));
  }

  void follow(QWidget* target, const QColor& control, const QColor& around) {
    const QColor black(Qt::black), white(Qt::white);
    const double onBlack = std::min(contrast(black, control), contrast(black, around));
    const double onWhite = std::min(contrast(white, control), contrast(white, around));
    ring_ = onBlack >= onWhite ? black : white;
    edge_ = onBlack >= onWhite ? white : black;
    setWidget(target);
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QRect all = rect();
    painter.fillRect(all.x(), all.y(), all.width(), 1, edge_);
    painter.fillRect(all.x(), all.bottom(), all.width(), 1, edge_);
    painter.fillRect(all.x(), all.y(), 1, all.height(), edge_);
    painter.fillRect(all.right(), all.y(), 1, all.height(), edge_);
    const QRect inner = all.adjusted(1, 1, -1, -1);
    const int w = RingStyle::kRing;
    painter.fillRect(inner.x(), inner.y(), inner.width(), w, ring_);
    painter.fillRect(inner.x(), inner.bottom() - w + 1, inner.width(), w, ring_);
    painter.fillRect(inner.x(), inner.y(), w, inner.height(), ring_);
    painter.fillRect(inner.right() - w + 1, inner.y(), w, inner.height(), ring_);
  }

 private:
  QColor ring_ = Qt::black;
  QColor edge_ = Qt::white;
};

QColor ownColour(const QWidget* widget) {
  const QPalette& palette = widget->palette();
  if (widget->inherits("QPushButton")) return palette.color(QPalette::Button);
  if (widget->inherits("QLineEdit") || widget->inherits("QAbstractScrollArea") ||
      widget->inherits("QAbstractSpinBox")) {
    return palette.color(QPalette::Base);
  }
  return palette.color(widget->backgroundRole());
}

}  // namespace

void installAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(readingFactory);
}

// ---- names and readings ----

QWidget* FormWidget::readingFace(const Form::Reading& reading, QWidget* container) {
  auto it = faces_.find(&reading);
  if (it != faces_.end()) return it->second;
  installAccessibility();
  auto* face = new ReadingFace(container);
  faces_[&reading] = face;
  placeReading(reading);
  face->show();
  return face;
}

void FormWidget::placeReading(const Form::Reading& reading) {
  auto it = faces_.find(&reading);
  if (it == faces_.end()) return;
  QRect area;
  for (const Control* part : reading.parts) {
    const Geometry& g = part->geometry();
    area |= QRect(twipsToPixels(g.left), twipsToPixels(g.top), twipsToPixels(g.width),
                  twipsToPixels(g.height));
  }
  it->second->setGeometry(area);
}

QPoint FormWidget::originOf(const Control& control) const {
  const Form::Reading* reading = form_.readingOf(control);
  if (reading == nullptr) return {};
  auto it = faces_.find(reading);
  return it == faces_.end() ? QPoint() : it->second->pos();
}

// Names and access keys follow captions, tooltips, what is shown and the labels names were
// read from, never what a box holds; the readings follow their own boxes and the timers (the
// clock's running). So the clock's tick, the time of day and the user's typing read again
// only the readings, if anything.
void FormWidget::speechChanged(const Control& control, Property property) {
  const ControlKind kind = control.kind();
  const bool captioned = isButtonKind(kind) || kind == ControlKind::Frame ||
                         kind == ControlKind::MenuItem || heard_.count(&control) != 0;
  const bool words = property == Property::Tooltip || property == Property::Visible ||
                     (property == Property::Text && captioned);
  if (words) namesDirty_ = true;
  const bool reading = property != Property::Tooltip && (form_.readingOf(control) != nullptr ||
                                                         control.kind() == ControlKind::Timer);
  if (words || (reading && !form_.readings().empty())) queueSpeech();
}

void FormWidget::queueSpeech() {
  if (speechQueued_ || detached_) return;
  speechQueued_ = true;
  QTimer::singleShot(0, this, [this] {
    speechQueued_ = false;
    if (!detached_) refreshSpeech();
  });
}

void FormWidget::refreshSpeech() {
  if (namesDirty_) {
    namesDirty_ = false;
    heard_.clear();
    for (auto& [control, bound] : bound_) {
      if (control->kind() == ControlKind::Label) continue;  // a label is heard by its text
      const QString name = toQString(spokenName(*control, &heard_));
      if (bound.widget->accessibleName() != name) bound.widget->setAccessibleName(name);
    }
    assignAccessKeys();
  }
  for (const Form::Reading& reading : form_.readings()) {
    auto it = faces_.find(&reading);
    if (it == faces_.end() || !reading.say) continue;
    QWidget* face = it->second;
    const QString said = toQString(reading.say());
    const QString before = face->property(kReading).toString();
    if (said == before) continue;
    face->setProperty(kReading, said);
    if (!before.isEmpty() && withoutFigures(before) == withoutFigures(said)) continue;
    // Started, stopped: told as it happens.
    QAccessibleEvent changed(face, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
    if (!before.isEmpty()) {
      QAccessibleEvent alert(face, QAccessible::Alert);
      QAccessible::updateAccessibility(&alert);
    }
  }
}

// A change of a line the user should hear about as it happens: the label's own name change,
// and an alert for the bridges that speak one.
void FormWidget::announce(Bound& bound) {
  if (bound.control->text().empty()) return;
  QAccessibleEvent alert(bound.widget, QAccessible::Alert);
  QAccessible::updateAccessibility(&alert);
}

// ---- access keys ----

void FormWidget::assignAccessKeys() {
  // Menu titles and the window's buttons share the window's keys; each menu has its own.
  std::vector<std::pair<Control*, std::string>> window;
  for (MenuItem* top : form_.menuChildren(nullptr)) {
    if (top->visible()) window.emplace_back(top, top->text());
  }
  for (Control* control : form_.controls()) {
    if (!isButtonKind(control->kind()) || form_.readingOf(*control) != nullptr) continue;
    window.emplace_back(control, control->text());
  }
  std::map<const Control*, char> keys;
  auto share = [&keys](const std::vector<std::pair<Control*, std::string>>& scope) {
    std::vector<std::string> captions, names;
    for (const auto& [control, caption] : scope) {
      captions.push_back(caption);
      names.push_back(spokenName(*control));
    }
    const std::vector<char> shared = shareAccessKeys(captions, names);
    for (std::size_t i = 0; i < scope.size(); ++i) {
      if (shared[i] != '\0') keys[scope[i].first] = shared[i];
    }
  };
  share(window);
  for (MenuItem* top : form_.menuChildren(nullptr)) {
    std::vector<MenuItem*> menus{top};
    while (!menus.empty()) {
      MenuItem* menu = menus.back();
      menus.pop_back();
      std::vector<std::pair<Control*, std::string>> entries;
      for (MenuItem* entry : form_.menuChildren(menu)) {
        if (entry->separator()) continue;
        entries.emplace_back(entry, entry->text());
        menus.push_back(entry);
      }
      share(entries);
    }
  }
  if (keys == accessKeys_) return;
  accessKeys_ = std::move(keys);
  for (auto& [control, bound] : bound_) {
    if (isButtonKind(control->kind())) showCaption(bound);
  }
  for (auto& [item, action] : actions_) refreshAction(*const_cast<MenuItem*>(item));
}

char FormWidget::accessKey(const Control& control) const {
  auto it = accessKeys_.find(&control);
  return it == accessKeys_.end() ? '\0' : it->second;
}

// The caption with its access key marked for Qt, every other '&' shown as itself.
QString FormWidget::keyedCaption(const Control& control) const {
  return modelToScreenText(withAccessKey(control.text(), accessKey(control)));
}

void FormWidget::showCaption(Bound& bound) {
  auto* button = qobject_cast<QAbstractButton*>(bound.widget);
  if (button == nullptr) return;
  const Control& control = *bound.control;
  const char key = accessKey(control);
  const bool underlined = key != '\0' && showsAccessKey(control.text(), key);
  const QString text = keyedCaption(control);
  button->setText(text);
  // A button whose caption lacks its key (an arrow, a "+", one of many alike) still answers
  // to it, unseen; a screen reader tells it.
  button->setShortcut(underlined    ? QKeySequence::mnemonic(text)
                      : key != '\0' ? QKeySequence(QKeyCombination(
                                        Qt::ALT, Qt::Key(QChar(key).toUpper().unicode())))
                                    : QKeySequence());
}

// ---- Escape and the focus ring ----

bool FormWidget::escapeCloses(QKeyEvent* event) {
  if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier ||
      form_.role != WindowRole::Side)
    return false;
  close();  // as the close box: the window's own rules decide
  return true;
}

void FormWidget::followFocus(QWidget* now) {
  QWidget* target = nullptr;
  for (QWidget* w = now; w != nullptr && w != this; w = w->parentWidget()) {
    if (watched_.count(w) != 0 || dynamic_cast<ReadingFace*>(w) != nullptr) {
      target = w;
      if (auto it = watched_.find(w); it != watched_.end()) {
        if (Bound* bound = boundFor(it->second)) target = bound->widget;
      }
      break;
    }
  }
  if (target == nullptr || target->window() != this) {
    if (ring_ != nullptr) static_cast<FocusRing*>(ring_)->setWidget(nullptr);
    return;
  }
  if (ring_ == nullptr) ring_ = new FocusRing(this);
  QWidget* around = target->parentWidget() != nullptr ? target->parentWidget() : target;
  static_cast<FocusRing*>(ring_)->follow(target, ownColour(target),
                                         around->palette().color(around->backgroundRole()));
}

}  // namespace vantrel
