#pragma once
// The canvas and the magnifier: thin widgets that show the window's scene bitmap.

#include <QRect>
#include <QWidget>

namespace korvan {

class TKorvanForm1;

// PaintBox1: shows SceneBitmap at 1:1 and reports the mouse to the window.
class CanvasWidget : public QWidget {
  Q_OBJECT

 public:
  explicit CanvasWidget(TKorvanForm1* form);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  TKorvanForm1* form_;
};

// LupaPaintBox1: the region of SceneBitmap round the last mouse point, stretched over the widget.
class MagnifierWidget : public QWidget {
  Q_OBJECT

 public:
  explicit MagnifierWidget(TKorvanForm1* form);
  void ShowAround(const QPoint& scenePoint);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TKorvanForm1* form_;
  QPoint point_;
  bool shown_ = false;
};

}  // namespace korvan
