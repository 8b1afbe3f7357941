#pragma once

// The kind of a session with the radio; the number is the one its messages and captions
// count from (9008 + kind, 9026 + kind).
enum class CommKind : short { None = 0, Read = 1, Write = 2, Info = 3 };
