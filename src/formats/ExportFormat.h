#pragma once

namespace corvelt {

// What an export of the selected elements writes.
enum class ExportFormat {
    vtu,  // VTK XML UnstructuredGrid, binary data appended raw
    csv,  // a table of one row per element corner and surface
};

}  // namespace corvelt
