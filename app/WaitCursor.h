#pragma once
#include <QApplication>

namespace quillon {

// The wait cursor for one scope of long work; the arrow comes back on every path out,
// or earlier through Restore (before a message box is shown).
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { Restore(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    void Restore()
    {
        if (m_set)
            QApplication::restoreOverrideCursor();
        m_set = false;
    }

private:
    bool m_set = true;
};

} // namespace quillon
