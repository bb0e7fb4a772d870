#include "app/CanvasWidgets.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/KorvanForm.h"
#include "render/ScenePainter.h"

namespace korvan {

CanvasWidget::CanvasWidget(TKorvanForm1* form) : form_(form) {
  setObjectName(QStringLiteral("PaintBox1"));
  setMouseTracking(true);  // hover moves drive the status bar and the magnifier
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QImage& image = form_->SceneImage();
  const QRect r = event->rect() & QRect(0, 0, width(), height());
  p.drawImage(r.topLeft(), image, r);
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
  form_->CanvasMouseMove(TKorvanForm1::CanvasToScene(event->position().toPoint()));
}

MagnifierWidget::MagnifierWidget(TKorvanForm1* form) : form_(form) {
  setObjectName(QStringLiteral("LupaPaintBox1"));
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void MagnifierWidget::ShowAround(const QPoint& scenePoint) {
  point_ = scenePoint;
  shown_ = true;
  update();
}

void MagnifierWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().window());
  if (shown_) korvan::DrawMagnifier(p, rect(), form_->SceneImage(), point_.x(), point_.y());
}

}  // namespace korvan
