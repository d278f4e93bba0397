// The user's gestures the window tests share: bringing a window to the
// front as a click on it does, and typing into a field from the keyboard.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QString>
#include <QTest>
#include <QWidget>

namespace gestures {

// The window made the active one, and waited for.
inline void activate(QWidget *window)
{
    window->activateWindow();
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
}

// Focus, select all, keys; an empty text deletes what is there.
inline void typeInto(QLineEdit *e, const QString &text)
{
    activate(e->window());
    e->setFocus(Qt::TabFocusReason);
    e->selectAll();
    if (text.isEmpty()) QTest::keyClick(e, Qt::Key_Backspace);
    else QTest::keyClicks(e, text);
}

} // namespace gestures
