#pragma once

// The pictures of the channel commands' toolbar buttons. The desktop's icon theme draws them
// when it has them; otherwise our own drawings do, so that Cut, Delete and Paste, and Move
// Up/Down and Read/Write, never look alike.

#include <QIcon>

enum class CommandPicture { Cut, Copy, Paste, Insert, Delete, MoveUp, MoveDown };

QIcon commandIcon(CommandPicture picture);
