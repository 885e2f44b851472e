#pragma once

// Registers the nine scene and scene-item command types with RCCommandManager under their class
// names. Explicit rather than through static registration objects, which a static library may drop
// at link time. Idempotent; RCCmdPresenter's construction calls it.
void registerEditingCommands();
