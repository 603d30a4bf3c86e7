#pragma once

#include <QWidget>

class TProgram;

/**
 * @brief The program's main window, created hidden at start: its creation runs
 * the program's start-up sequence and its closing the shutdown sequence.
 */
class TMainForm : public QWidget
{
    Q_OBJECT

public:
    explicit TMainForm(TProgram& program);
    ~TMainForm() override;

    void FormCreate();
    // Runs once; later calls do nothing.
    void FormClose();

private:
    TProgram& m_program;
};
