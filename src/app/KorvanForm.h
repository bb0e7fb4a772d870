#pragma once
// The editor's main window. It owns the whole editor state for the life of the process; its
// handlers live in the folder of their subsystem.

#include <QMainWindow>

namespace korvan {

class TKorvanForm1 : public QMainWindow {
  Q_OBJECT

 public:
  explicit TKorvanForm1(QWidget* parent = nullptr);
  ~TKorvanForm1() override;
};

}  // namespace korvan
