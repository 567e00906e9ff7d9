#include "CLinkStatic.h"

CLinkStatic::CLinkStatic(QWidget* parent) : QLabel(parent) {}

CLinkStatic::~CLinkStatic() = default;

void CLinkStatic::SetLinkURL(const QString& url)
{
    m_strURL = url;
}

void CLinkStatic::SetVisited(bool visited)
{
    m_bVisited = visited;
    update();
}
