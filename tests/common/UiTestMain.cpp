#include "TestMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    return RunTests<QApplication>(argc, argv);
}
