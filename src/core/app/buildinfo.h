// What the programs say for --version: the program version, set in one place (the project's
// version in CMakeLists.txt), and the git commit when built from a checkout.
#pragma once

#include <QString>

QString ProgramVersion();
// The short commit id, "-modified" when the checkout had changes; empty outside a checkout.
QString ProgramCommit();
// "mzcli 1.0.0 (git 0123456789ab)"
QString ProgramVersionLine(const QString& program);
