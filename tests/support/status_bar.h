// One status bar at the foot of a window, at the height of its text, its panel
// drawn sunken, and nothing of the window under it.
#pragma once

#include <QLabel>
#include <QStatusBar>
#include <QWidget>
#include <gtest/gtest.h>

inline void ExpectOneStatusBar(QWidget* window, const char* barName, const char* panelName)
{
    auto* bar = window->findChild<QStatusBar*>(barName);
    auto* panel = window->findChild<QLabel*>(panelName);
    ASSERT_TRUE(bar != nullptr && panel != nullptr && panel->parentWidget() == bar && bar->isVisible());
    const QRect at(bar->mapTo(window, QPoint(0, 0)), bar->size());
    EXPECT_EQ(at.bottom(), window->height() - 1);
    EXPECT_GE(panel->height(), panel->fontMetrics().height() + 2 * panel->frameWidth());
    const QImage look = bar->grab().toImage();
    const QPoint edge(panel->geometry().center().x(), panel->geometry().top());
    EXPECT_NE(look.pixelColor(edge), bar->palette().color(QPalette::Window)) << "the panel's sunken edge";
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        if (w->isVisible() && w->window() == window && w != bar && !bar->isAncestorOf(w) && !w->isAncestorOf(bar)) {
            EXPECT_LE(w->mapTo(window, QPoint(0, w->height())).y(), at.top()) << w->objectName().toStdString();
        }
    }
}
