#pragma once

#include <QString>

class TOrvixLine;

// The standard rule runner of registry lines: offers a state of the line to
// every rule of the model in force, in list order, and runs each rule that
// fires on a snapshot copy of the line of its own.
void RunRulesInForce(TOrvixLine& line, const QString& currentLineState);
