#pragma once
#include <optional>
#include <vector>

#include "profiles/ColourServices.h"
#include "profiles/ProfileRecord.h"

class QWidget;

namespace quillon {

// The add-profile dialog run modally: the chosen record, or nothing on Cancel.
std::optional<ProfileRecord> RunAddProfileDialog(QWidget* parent, const ColourServices& services);

// The named-colour profile list, built under the list-building progress box (text 1011).
std::vector<ProfileRecord> BuildNcpListUnderProgressBox(QWidget* parent, const ColourServices& services);

} // namespace quillon
