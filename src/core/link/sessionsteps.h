#pragma once

// The steps of a session, described once for every kind. A session moves through phases: the
// programming request (which finds the cable's echo), the identification, the password block,
// the blocks of memory, and the end request. The kinds differ only in which phases they take,
// in the number the step carries (CommStep for reads, CommSubStep for writes, as the protocol
// counts them), and in where the identity check stands. A verify is a read; a new kind (a
// connection test: identification, then the end) is one more line in the table.

#include "commkind.h"

#include <QVector>

// The numbers of CommStep (reads) and CommSubStep (writes).
enum CommStepValue {
    StepIdle = 0,
    StepProgram = 1,
    StepIdent = 2,
    StepPassBlock = 3, // the identification in a radio-information read
    StepWriteAck = 4,
    StepData = 5,
    StepEnd = 69,
};

enum class SessionPhase { Program, Ident, PassBlock, Blocks, End };

struct SessionStep {
    SessionPhase phase;
    int value; // the CommStep or CommSubStep number of the step
    // Leaving this step passes the identity check (and for a write the tone warning) first.
    bool gate = false;
};

// The steps of a kind, in order; empty for CommKind::None.
const QVector<SessionStep>& SessionSteps(CommKind kind);
// The step of kind that carries value; null when the kind has none.
const SessionStep* FindSessionStep(CommKind kind, int value);
// The step after step in its kind; null after the last.
const SessionStep* NextSessionStep(CommKind kind, const SessionStep& step);
// The first step of a phase in a kind; null when the kind does not take the phase.
const SessionStep* PhaseStep(CommKind kind, SessionPhase phase);
