// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QWidget>

class QWebEngineView;

/**
 * @brief The template editor's preview: shows a page handed to it as text, and
 * does nothing else.
 *
 * The page is the user's template filled with sample values, so it is kept still:
 * no script of the page runs, nothing is loaded from the network or from files
 * (images written into the page as data: addresses still show), links go nowhere
 * and no window opens. The browser engine is used only in here, so that the
 * whole view can be exchanged without touching the editor.
 */
class TTemplatePreviewView : public QWidget
{
    Q_OBJECT

public:
    explicit TTemplatePreviewView(QWidget* parent = nullptr);

    // Shows the page; a page too large for the engine to take as text is named instead.
    void ShowPage(const QString& page);
    // The page last handed to ShowPage.
    const QString& Page() const { return m_page; }

private:
    QWebEngineView* m_view;
    QString m_page;
};
