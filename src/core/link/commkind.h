#pragma once

// The kind of a session with the radio; the number is the one its messages and captions
// count from (9008 + kind, 9026 + kind). Identify only asks the radio who it is (the
// connection test) and shows nothing of its own.
enum class CommKind : short { None = 0, Read = 1, Write = 2, Info = 3, Identify = 4 };
