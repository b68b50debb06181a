#pragma once

class QOpenGLWidget;
class QOpenGLContext;

namespace quillon {

// Makes a widget's context current for one scope and no context current at its end.
// Inside a scope that is already current (paintGL, initializeGL, resizeGL, a nested
// scope) it changes nothing, so it can guard every GL entry point alike.
class ContextScope {
public:
    explicit ContextScope(QOpenGLWidget& widget);
    ~ContextScope();
    ContextScope(const ContextScope&) = delete;
    ContextScope& operator=(const ContextScope&) = delete;

    // False when the widget has no usable context yet: GL calls must be skipped.
    explicit operator bool() const { return m_current; }

private:
    QOpenGLWidget& m_widget;
    bool m_current = false;
    bool m_madeCurrent = false;
};

} // namespace quillon
