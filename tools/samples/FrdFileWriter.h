#pragma once

#include <filesystem>
#include <string>

#include "model/ShellModel.h"

namespace corvelt::samples {

// Writes a shell model as CalculiX writes its results (.frd) with its default 3-D
// output: every shell node expanded into two brick nodes half the thickness
// either side along the mean normal of its elements (numbered after the shell's
// own, three a node of which the first and the third are written), every element
// an 8-node brick, and one step with the blocks DISP, STRESS and ERROR. A brick
// node carries the stresses of the first corner that uses it: the first stress
// line of a corner on brick nodes 5 to 8, the second on 1 to 4. Numbers in
// Fortran's E12.5, LF line ends.
std::string formatFrdText(const ResultData& data, double thickness);

// The same into a file, written under a temporary name and renamed when complete.
// Throws std::runtime_error.
void writeFrdFile(const std::filesystem::path& path, const ResultData& data, double thickness);

}  // namespace corvelt::samples
