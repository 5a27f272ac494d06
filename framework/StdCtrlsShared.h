// Shared by the standard-control files; not part of the framework's interface.
#pragma once

#include <string>
#include <vector>

// The names of TAlignment's values, as saved forms write them.
inline const std::vector<std::string> AlignmentNames{"taLeftJustify", "taRightJustify", "taCenter"};
