#include "qt/form2_view.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "qt/view_metrics.h"

namespace sol {

namespace {

// The numbers of the slider's scale ("1  100  200 ...") each drawn under the
// thumb position of its value, whatever the width; any other caption is
// drawn as a plain label.
class ScaleLabel : public QLabel {
 public:
  using QLabel::QLabel;
  void SetSlider(QSlider* slider) { slider_ = slider; }

 protected:
  void paintEvent(QPaintEvent* event) override {
    static const QRegularExpression blanks(QStringLiteral("[\\s\\x{3000}]+"));
    const QStringList tokens = text().split(blanks, Qt::SkipEmptyParts);
    std::vector<int> values;
    for (const QString& t : tokens) {
      bool ok = false;
      const int v = t.toInt(&ok);
      if (!ok) break;
      values.push_back(v);
    }
    if (!slider_ || values.empty() || values.size() != static_cast<size_t>(tokens.size())) {
      QLabel::paintEvent(event);
      return;
    }
    QPainter p(this);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    const QFontMetrics fm(font());
    for (size_t i = 0; i < values.size(); ++i) {
      const int x = mapFrom(window(), slider_->mapTo(window(), QPoint(ThumbCentre(values[i]), 0))).x();
      const int w = fm.horizontalAdvance(tokens[i]);
      const int left = std::clamp(x - w / 2, 0, std::max(0, width() - w));
      p.drawText(QRect(left, 0, w, height()), Qt::AlignLeft | Qt::AlignVCenter, tokens[i]);
    }
  }
  QSize minimumSizeHint() const override { return QSize(0, QLabel::minimumSizeHint().height()); }

 private:
  int ThumbCentre(int value) const {
    QStyleOptionSlider opt;
    opt.initFrom(slider_);
    opt.orientation = slider_->orientation();
    opt.minimum = slider_->minimum();
    opt.maximum = slider_->maximum();
    opt.sliderPosition = opt.sliderValue = std::clamp(value, opt.minimum, opt.maximum);
    opt.tickPosition = slider_->tickPosition();
    opt.tickInterval = slider_->tickInterval();
    opt.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
    return slider_->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, slider_).center().x();
  }

  QPointer<QSlider> slider_;
};

void Arrange(FormView& v) {
  QWidget* central = v.centralWidget();
  auto* root = new QHBoxLayout(central);
  root->setContentsMargins(14, 10, 14, 8);
  root->setSpacing(18);

  // Left: the title over the board.
  auto* left = new QVBoxLayout;
  left->setSpacing(6);
  if (auto* title = v.Require<QLabel>("Label1")) {
    title->setFont(Sized(title->font(), 1.5, true));
    title->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    left->addWidget(title);
  }
  if (QWidget* board = v.Require("Image1")) {
    // Small enough for a small screen; the board grows with the window.
    board->setMinimumSize(board->minimumSizeHint().expandedTo(QSize(360, 360)));
    left->addWidget(board, 1);
  }
  root->addLayout(left, 1);

  // Right: a column of the controls.
  auto* panel = new QWidget(central);
  panel->setFixedWidth(270);
  auto* right = new QVBoxLayout(panel);
  right->setContentsMargins(0, 0, 0, 0);
  right->setSpacing(12);

  if (auto* frame = v.Require<QGroupBox>("Frame1")) {
    auto* box = new QVBoxLayout(frame);
    box->setSpacing(4);
    for (const char* name : {"Option1", "Option2", "Option3", "Option4"})
      if (QWidget* w = v.Require(name)) box->addWidget(w);
    right->addWidget(frame);
  }

  auto* prisoners = new QFrame(panel);
  prisoners->setFrameShape(QFrame::StyledPanel);
  auto* grid = new QGridLayout(prisoners);
  grid->setContentsMargins(12, 8, 12, 8);
  grid->setHorizontalSpacing(16);
  grid->setVerticalSpacing(6);
  const std::pair<const char*, const char*> counts[] = {{"Label2", "Label3"}, {"Label4", "Label5"}};
  int row = 0;
  for (const auto& [name, count] : counts) {
    if (QWidget* w = v.Require(name)) grid->addWidget(w, row, 0);
    if (auto* c = v.Require<QLabel>(count)) {
      c->setFont(Sized(c->font(), 1.3, true));
      c->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      c->setMinimumWidth(c->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
      grid->addWidget(c, row, 1);
    }
    ++row;
  }
  grid->setColumnStretch(0, 1);
  right->addWidget(prisoners);

  auto* buttons = new QGridLayout;
  buttons->setHorizontalSpacing(8);
  buttons->setVerticalSpacing(6);
  const std::pair<const char*, const char*> pairs[] = {
      {"Command1", "Command4"}, {"Command2", "Command6"}, {"Command7", "Command8"}, {"Command3", "Command9"}};
  row = 0;
  for (const auto& [a, b] : pairs) {
    for (int col = 0; col < 2; ++col)
      if (auto* w = v.Require<QPushButton>(col == 0 ? a : b)) {
        w->setMinimumHeight(30);
        buttons->addWidget(w, row, col);
      }
    ++row;
  }
  right->addLayout(buttons);

  auto* position = new QVBoxLayout;
  position->setSpacing(2);
  if (QWidget* w = v.Require("Label8")) position->addWidget(w);
  auto* slider = v.Require<QSlider>("Slider1");
  if (slider) {
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(100);
    position->addWidget(slider);
  }
  if (auto* scale = dynamic_cast<ScaleLabel*>(v.Require<QLabel>("Label7"))) {
    scale->SetSlider(slider);
    scale->setFont(Sized(scale->font(), 0.9, false));
    position->addWidget(scale);
  }
  right->addSpacing(4);
  right->addLayout(position);

  if (QWidget* w = v.Require("Command5")) right->addWidget(w);
  if (auto* w = v.Require<QLabel>("Label10")) {
    w->setWordWrap(true);
    right->addWidget(w);
  }
  right->addStretch(1);
  root->addWidget(panel, 0);

  v.resize(1040, 800);
}

}  // namespace

ViewLayout Form2Layout() {
  ViewLayout layout;
  layout.makeWidget = [](Control& c, QWidget* parent) -> QWidget* {
    if (c.Name() == "Label7") return new ScaleLabel(parent);
    return nullptr;
  };
  layout.arrange = Arrange;
  layout.closeMenu = "メニュー終了";
  layout.printText = "Label10";
  // Game files dropped onto the board open there.
  layout.takesFiles = true;
  // The arrows step through the game as the buttons beside the board do.
  layout.keys = {
      {Qt::Key_Left, "Command1"}, {Qt::Key_Right, "Command4"}, {Qt::Key_Home, "Command2"}, {Qt::Key_End, "Command6"}};
  return layout;
}

}  // namespace sol
