#pragma once
#include <atomic>

#include <QOpenGLContext>
#include <QPointer>
#include <qopengl.h>

namespace quillon {

// Owner of consecutive display lists in the context that was current when they were
// adopted. They are deleted only while that context is current; otherwise they go
// with the context, which frees all its lists when it is destroyed.
class DisplayListRange {
public:
    DisplayListRange() = default;
    DisplayListRange(GLuint first, GLsizei count)
        : m_first(first), m_count(first && count > 0 ? count : 0), m_context(QOpenGLContext::currentContext())
    {
        s_owned += m_count;
    }
    ~DisplayListRange() { Reset(); }
    DisplayListRange(DisplayListRange&& other) noexcept { *this = std::move(other); }
    DisplayListRange& operator=(DisplayListRange&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_first = other.m_first;
            m_count = other.m_count;
            m_context = other.m_context;
            other.m_first = 0;
            other.m_count = 0;
            other.m_context = nullptr;
        }
        return *this;
    }
    DisplayListRange(const DisplayListRange&) = delete;
    DisplayListRange& operator=(const DisplayListRange&) = delete;

    GLuint first() const { return m_first; }
    bool empty() const { return m_count == 0; }

    void Reset()
    {
        if (m_count > 0 && m_context && QOpenGLContext::currentContext() == m_context)
            glDeleteLists(m_first, m_count);
        s_owned -= m_count;
        m_first = 0;
        m_count = 0;
        m_context = nullptr;
    }

    // Lists held by owners in this process; lets tests prove nothing is kept past its
    // use. A range let go without its context current leaves the count: the context
    // frees those lists itself.
    static long OwnedCount() { return s_owned.load(); }

private:
    inline static std::atomic<long> s_owned{0};
    GLuint m_first = 0;
    GLsizei m_count = 0;
    QPointer<QOpenGLContext> m_context;
};

} // namespace quillon
