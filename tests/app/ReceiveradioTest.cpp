// The waiting dialog: its form, its texts and the results the user can give it.

#include "app/Receiveradio.h"

#include "ui/UserDialogs.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

// The application's focus-tracking connections of a window, counted in Qt's own dump of it.
int FocusTrackingConnections(QWindow& window) {
  static int counted = 0;
  counted = 0;
  const QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& line) {
        if (line.contains(QStringLiteral("_q_updateFocusObject"))) ++counted;
      });
  window.dumpObjectInfo();
  qInstallMessageHandler(previous);
  return counted;
}

// Every operation shows the one waiting dialog again: it must not collect a connection each time.
TEST(TfrmReceiveRadio, ShowingItAgainAndAgainCollectsNothing) {
  TfrmReceiveRadio dialog;
  for (int showing = 0; showing < 5; ++showing) {
    QTimer::singleShot(20, &dialog, [&dialog] { dialog.done(mrOk); });
    ASSERT_EQ(dialog.exec(), mrOk);
  }
  ASSERT_NE(dialog.windowHandle(), nullptr);
  EXPECT_LE(FocusTrackingConnections(*dialog.windowHandle()), 1);
}

TEST(TfrmReceiveRadio, StartsEmptyAndKeepsTheLabelAtItsWidthWhateverTheText) {
  TfrmReceiveRadio dialog;
  EXPECT_TRUE(dialog.windowTitle().isEmpty());
  EXPECT_TRUE(dialog.gbxReceiveRadio->title().isEmpty());
  EXPECT_TRUE(dialog.lblAction->text().isEmpty());
  EXPECT_EQ(dialog.size(), QSize(398, 220));
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowSystemMenuHint);

  dialog.SetTitle("Titel");
  dialog.SetGroupCaption("Gruppe");
  dialog.SetActionText("kurz");
  EXPECT_EQ(dialog.windowTitle(), "Titel");
  EXPECT_EQ(dialog.gbxReceiveRadio->title(), "Gruppe");
  EXPECT_EQ(dialog.lblAction->width(), 223);
  dialog.SetActionText(QString(400, u'x'));
  EXPECT_EQ(dialog.lblAction->width(), 223);
  EXPECT_EQ(dialog.lblAction->pos(), QPoint(144, 40));
  EXPECT_FALSE(dialog.imgTransmitter->pixmap().isNull());
}

// The abort button shows its glyph whatever the desktop's icon theme: a red disc.
TEST(TfrmReceiveRadio, TheAbortButtonShowsAGlyph) {
  TfrmReceiveRadio dialog;
  const QImage glyph = dialog.btbtnAbort->icon().pixmap(16).toImage();
  ASSERT_FALSE(glyph.isNull());
  const QColor edge = glyph.pixelColor(2, 8);
  EXPECT_GT(edge.alpha(), 200);
  EXPECT_GT(edge.red(), 2 * edge.green());
}

// Every way the user can end the wait is Abort; a result the operations do not know would
// leave them guessing.
TEST(TfrmReceiveRadio, TheUserEndsTheWaitOnlyWithAbort) {
  TfrmReceiveRadio dialog;
  const std::function<void()> userActions[] = {
      [&dialog] { dialog.btbtnAbort->click(); },
      [&dialog] { QTest::keyClick(&dialog, Qt::Key_Escape); },
      [&dialog] { dialog.close(); },
  };
  for (const auto& act : userActions) {
    QTimer::singleShot(0, &dialog, act);
    EXPECT_EQ(dialog.exec(), mrAbort);
    EXPECT_EQ(dialog.btbtnAbort->text(), "&Abbruch");
  }
}

TEST(TfrmReceiveRadio, ShowsItselfInTheMiddleOfTheScreen) {
  TfrmReceiveRadio dialog;
  dialog.show();
  // The frame counts as part of the dialog, as the user sees it.
  const QRect screen = dialog.screen()->geometry();
  const QRect frame = dialog.frameGeometry();
  EXPECT_EQ(frame.left() - screen.left(), (screen.width() - frame.width()) / 2);
  EXPECT_EQ(frame.top() - screen.top(), (screen.height() - frame.height()) / 2);
  dialog.hide();
}

}  // namespace
