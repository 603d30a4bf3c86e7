#include "shell/MainForm.h"

#include "program/Program.h"

TMainForm::TMainForm(TProgram& program)
    : m_program(program)
{
    setWindowTitle(TProgram::Title);
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate()
{
    m_program.Start();
}

void TMainForm::FormClose()
{
    m_program.Shutdown();
}
