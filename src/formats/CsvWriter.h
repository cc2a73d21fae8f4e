#pragma once

#include <filesystem>
#include <string_view>

#include "formats/ExportProgress.h"

namespace corvelt {

struct ShellModel;

inline constexpr std::string_view csvHeader =
    "element,corner,node,x,y,z,surface,Sx,Sy,Sz,Txy,Txz,Tyz,Se,P1,P2,P3,SINT\n";

// Writes the selected elements as a table: the header, then for every selected
// element, ascending, its corners 0 .. 3, each on surface 1 and then 2, one row
// each. A row names the element, the corner, its node and the node's position, the
// surface, the seven stored components and the principal stresses and intensity of
// that surface's tensor. Numbers are in the shortest form that reads back as the
// same double, with a full stop whatever the locale; lines end in LF. The file is
// replaced atomically. Throws ExportError or ExportCancelled, leaving the file as
// it was.
void writeCsv(const ShellModel& model, const std::filesystem::path& path,
              const ExportProgress& progress = {});

}  // namespace corvelt
