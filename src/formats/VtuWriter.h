#pragma once

#include <filesystem>

#include "formats/ExportProgress.h"

namespace corvelt {

struct ShellModel;

// Writes the selected elements, ascending, as a VTK XML UnstructuredGrid with its
// data appended raw (UInt64 block sizes, the machine's byte order). Every element's
// four corners are points of their own, so corner values stay as they are, not
// averaged over a node; cells are VTK_QUAD (9). Point data, Float64:
// stress_surface1 and stress_surface2 (six components in VTK's symmetric-tensor
// order XX, YY, ZZ, XY, YZ, XZ: Sx, Sy, Sz, Txy, Tyz, Txz), Se_surface1 and
// Se_surface2; and node, the corner's node (Int64). Cell data: element, the
// element's index (Int64). The file is replaced atomically. Throws ExportError or
// ExportCancelled, leaving the file as it was.
void writeVtu(const ShellModel& model, const std::filesystem::path& path,
              const ExportProgress& progress = {});

}  // namespace corvelt
