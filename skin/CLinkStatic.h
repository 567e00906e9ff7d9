// A static text that works as a hyperlink.
#pragma once

#include "ColorRef.h"

#include <QLabel>

class CLinkStatic : public QLabel
{
    Q_OBJECT
public:
    explicit CLinkStatic(QWidget* parent = nullptr);
    ~CLinkStatic() override;

    void SetLinkURL(const QString& url);
    QString LinkURL() const { return m_strURL; }
    void SetVisited(bool visited);

private:
    QString m_strURL;
    bool m_bVisited = false;
};
