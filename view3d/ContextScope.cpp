#include "view3d/ContextScope.h"

#include <QOpenGLContext>
#include <QOpenGLWidget>

namespace quillon {

ContextScope::ContextScope(QOpenGLWidget& widget) : m_widget(widget)
{
    QOpenGLContext* context = widget.context();
    if (!context || !context->isValid())
        return;
    if (QOpenGLContext::currentContext() == context) {
        m_current = true;
        return;
    }
    widget.makeCurrent();
    m_current = QOpenGLContext::currentContext() == context;
    m_madeCurrent = m_current;
}

ContextScope::~ContextScope()
{
    if (m_madeCurrent)
        m_widget.doneCurrent();
}

} // namespace quillon
