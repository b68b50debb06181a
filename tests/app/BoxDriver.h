#pragma once
// Drives modal about boxes from a timer: looks at each one as it comes up, then closes it
// the way a user would.
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "app/AboutDlg.h"
#include "app/Strings.h"

namespace quillon::testing {

// What the box showed when it came up.
struct Seen {
    bool shown = false;
    QString title;
    bool selectorVisible = false;
    QStringList items;
    int selected = -2;
    bool pictureMatches = false;
    QSize pictureSize;
    Language language = Language::English;
};

inline Seen Look(CAboutDlg& box)
{
    Seen seen;
    seen.shown = box.isVisible();
    seen.title = box.windowTitle();
    seen.selectorVisible = box.LanguageCombo()->isVisible();
    for (int i = 0; i < box.LanguageCombo()->count(); ++i)
        seen.items << box.LanguageCombo()->itemText(i);
    seen.selected = box.LanguageCombo()->currentIndex();
    const QImage shownPicture = box.Picture()->pixmap().toImage().convertToFormat(QImage::Format_RGB888);
    seen.pictureSize = shownPicture.size();
    seen.pictureMatches =
        shownPicture == QImage(CAboutDlg::PicturePath(CurrentLanguage())).convertToFormat(QImage::Format_RGB888);
    seen.language = CurrentLanguage();
    return seen;
}

// The ways a user closes the box.
enum class Action { Escape, Enter, CloseBox, KeyDown, KeyUp, ReselectCurrent };

inline void Perform(CAboutDlg& box, Action action)
{
    QComboBox* combo = box.LanguageCombo();
    switch (action) {
    case Action::Escape: QTest::keyClick(&box, Qt::Key_Escape); break;
    case Action::Enter: QTest::keyClick(&box, Qt::Key_Return); break;
    case Action::CloseBox: box.close(); break;
    case Action::KeyDown: QTest::keyClick(combo, Qt::Key_Down); break;
    case Action::KeyUp: QTest::keyClick(combo, Qt::Key_Up); break;
    case Action::ReselectCurrent: emit combo->activated(combo->currentIndex()); break;
    }
}

// Each time an about box comes up modally: look at it, then act on it.
class BoxDriver {
public:
    explicit BoxDriver(std::vector<Action> actions) : m_actions(std::move(actions))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(5);
    }
    std::vector<Seen> seen;

private:
    void Poll()
    {
        auto* box = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
        if (box == nullptr || box->property("driven").toBool())
            return;
        box->setProperty("driven", true);
        seen.push_back(Look(*box));
        const std::size_t n = seen.size() - 1;
        Perform(*box, n < m_actions.size() ? m_actions[n] : Action::Escape);
    }
    std::vector<Action> m_actions;
    QTimer m_timer;
};

} // namespace quillon::testing
