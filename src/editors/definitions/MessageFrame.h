// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

#include <memory>

class QListWidget;
class TActionBaseMessage;
class TActionSequence;
class TParameters;

namespace Ui {
class TMessageFrame;
}

/**
 * @brief What the two message dialogs share: the caption, the sequences the
 * message offers as buttons, and how long it stays.
 *
 * The sequences are those of the editor's working copy, so a sequence made or
 * renamed in this session is offered as it is now, and a deleted one is not.
 * The sequence being edited is not offered: a message cannot run its own sequence
 * again. The same sequence may stand on the message more than once.
 */
class TMessageFrame : public QWidget
{
    Q_OBJECT

public:
    explicit TMessageFrame(QWidget* parent = nullptr);
    ~TMessageFrame() override;

    // Fills the fields from the message and the sequences from the model.
    void Show(const TActionBaseMessage& message, const TParameters& model, const TActionSequence* activeSequence);
    bool IsComplete() const;
    void Write(TActionBaseMessage& message) const;

    QWidget* CaptionField() const;

signals:
    void Changed();

private:
    void ValidateForm();
    void AddSelected();
    void RemoveSelected();
    void Move(int offset);
    static void AddEntry(QListWidget* list, const TActionSequence& sequence);

    std::unique_ptr<Ui::TMessageFrame> ui;
};
