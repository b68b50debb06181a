#pragma once

namespace quillon {

// Registers the embedded resources (string table, dialog texts, pictures, icon). Idempotent;
// called by every loader in app/ so the resources exist even when nothing else pulled them in.
void EnsureResources();

} // namespace quillon
