#pragma once

// The national CB plans of country mode 0 as the channel commands check them: a channel lands
// in a plan group only on a frequency that group's plan has. The table is built into the
// program from data/channelplans/cb.csv (a dealer edits the table and rebuilds).

#include "channelplan.h"

#include <QByteArray>
#include <QVector>

// The table's text as it was built in.
QByteArray CbPlanTableText();

// The rows of the built-in table, read once; empty when the table does not read.
const QVector<PlanRow>& CbPlanRows();

// The row of a group's plan whose stored frequency (8 digits) is stored; nullptr when the
// plan of that group has no such channel.
const PlanRow* CbPlanRowStored(int group, const QString& stored);

// The row of a group's plan whose frequency in MHz is mhz, as stored or as the lists show it
// (the UK rows end in 125); nullptr when there is none.
const PlanRow* CbPlanRowMhz(int group, double mhz);
