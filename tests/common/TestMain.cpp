// Test entry: a QGuiApplication exists for every suite so that images, fonts and the clipboard
// behave as in the editor (offscreen platform in CI).

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Headless unless the caller asks for a real display (to watch a widget test, say).
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
