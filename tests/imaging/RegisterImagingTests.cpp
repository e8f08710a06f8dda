// What the imaging library registers at start-up: its two cursors.
#include "imaging/RegisterImaging.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

TEST(RegisterImaging, HandAndDragCursorsAreScreenCursors14000And14001) {
    EXPECT_EQ(crRxHand, 14000);
    EXPECT_EQ(crRxDrag, 14001);
    RegisterImagingFormats();
    ASSERT_TRUE(Screen()->HasCursor(14000));
    ASSERT_TRUE(Screen()->HasCursor(14001));
    EXPECT_FALSE(Screen()->HasCursor(14002));
    const QCursor hand = QtCursor(14000), drag = QtCursor(14001);
    ASSERT_EQ(hand.shape(), Qt::BitmapCursor);
    ASSERT_EQ(drag.shape(), Qt::BitmapCursor);
    EXPECT_EQ(hand.pixmap().size(), QSize(32, 32));
    // The pointing hand points with its fingertip; the grabbing hand holds in its middle.
    EXPECT_EQ(hand.hotSpot(), QPoint(5, 0));
    EXPECT_EQ(drag.hotSpot(), QPoint(9, 9));
    const QImage h = hand.pixmap().toImage(), d = drag.pixmap().toImage();
    EXPECT_EQ(qAlpha(h.pixel(5, 0)), 255);
    EXPECT_EQ(qAlpha(h.pixel(31, 31)), 0);
    EXPECT_NE(h, d);
    // Set on the screen, the number shows its picture.
    Screen()->SetCursor(crRxDrag);
    ASSERT_TRUE(QApplication::overrideCursor());
    EXPECT_EQ(QApplication::overrideCursor()->hotSpot(), QPoint(9, 9));
    Screen()->SetCursor(crDefault);
    EXPECT_FALSE(QApplication::overrideCursor());
}
