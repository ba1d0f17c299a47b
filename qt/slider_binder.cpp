#include <QApplication>
#include <QKeyEvent>
#include <QProxyStyle>
#include <QSlider>

#include "qt/control_binders.h"
#include "qt/form_view.h"

namespace sol {

namespace {

// A click on the slider's groove puts the thumb where the mouse is, as a
// drag would, instead of stepping a page towards it.
class JumpingSliderStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == QStyle::SH_Slider_AbsoluteSetButtons) return Qt::LeftButton;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

// Calls `f` when a mouse button is released over the watched widget, before
// the widget itself handles the release.
class ReleaseWatcher : public QObject {
 public:
  ReleaseWatcher(QObject* parent, std::function<void()> f) : QObject(parent), f_(std::move(f)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonRelease) f_();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> f_;
};

// The keys a slider moves its thumb with; they are the slider's while it
// has the focus, before any shortcut of the window.
class SliderKeys : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ShortcutOverride) {
      switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
          event->accept();
          return true;
        default:
          break;
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

class SliderControlBinder : public TypedBinder<Slider, QSlider> {
  QSlider* Create(FormView&, Slider&, QWidget* parent) const override { return new QSlider(Qt::Horizontal, parent); }
  std::function<void()> Wire(FormView& view, Slider& slider, QSlider* s) const override {
    auto* style = new JumpingSliderStyle;
    style->setParent(s);
    s->setStyle(style);
    s->setFocusPolicy(Qt::StrongFocus);
    s->installEventFilter(new SliderKeys(s));
    QObject::connect(s, &QSlider::valueChanged, &view, [&view, &slider, s](int v) {
      if (view.Syncing()) return;
      // Moved by a key or the wheel, with no button to release: the board
      // follows at once, as it does when a drag ends.
      const bool settled = !s->isSliderDown() && QApplication::mouseButtons() == Qt::NoButton;
      view.Forward(&slider, [&slider, v, settled] {
        slider.SetValue(v);
        if (settled && slider.OnMouseUp) slider.OnMouseUp();
      });
    });
    s->installEventFilter(new ReleaseWatcher(s, [&view, &slider, s] {
      if (!s->isEnabled()) return;
      const int v = s->value();
      view.Forward(&slider, [&slider, v] {
        slider.SetValue(v);
        if (slider.OnMouseUp) slider.OnMouseUp();
      });
    }));
    return [&slider, s] {
      SyncCommon(slider, s);
      if (s->minimum() != slider.Min() || s->maximum() != slider.Max()) s->setRange(slider.Min(), slider.Max());
      s->setValue(slider.Value());
    };
  }
};

}  // namespace

const ControlBinder& SliderBinder() {
  static const SliderControlBinder binder;
  return binder;
}

}  // namespace sol
