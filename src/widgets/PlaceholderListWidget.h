// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QListWidget>

/**
 * @brief A list that tells what to do while it is empty, as a line edit shows
 * its placeholder: the text is drawn in the middle of the empty list in the
 * palette's placeholder colour, and is the list's accessible description then.
 */
class TPlaceholderListWidget : public QListWidget
{
    Q_OBJECT
    Q_PROPERTY(QString placeholderText READ PlaceholderText WRITE SetPlaceholderText)

public:
    explicit TPlaceholderListWidget(QWidget* parent = nullptr);
    ~TPlaceholderListWidget() override;

    QString PlaceholderText() const { return m_placeholderText; }
    void SetPlaceholderText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void UpdateDescription();

    QString m_placeholderText;
};
