#!/usr/bin/env pvpython
"""Reads Corvelt's exports back with ParaView's own reader and compares every value.

    pvpython tools/check-export-in-paraview.py CORVELT RESULT_FILE [FOLDER]

Runs CORVELT --batch on RESULT_FILE with every third element unselected, writing
export.vtu and export.csv into FOLDER (a fresh temporary folder by default). Then
reads export.vtu with ParaView's XML unstructured grid reader and checks, value for
value and bit for bit, that it holds the selected elements of the result file:
every corner a point of its own, VTK_QUAD cells, both surfaces' tensors in VTK's
order and Se, the node and element indices. The stored columns of export.csv are
checked against the result file the same way. Needs ParaView (Debian's paraview and
python3-paraview); not part of the test suite.
"""
import math
import os
import re
import struct
import subprocess
import sys
import tempfile

from paraview import servermanager
from paraview.simple import XMLUnstructuredGridReader
from vtkmodules.util.numpy_support import vtk_to_numpy

TENSOR_ORDER = [0, 1, 2, 3, 5, 4]  # Sx, Sy, Sz, Txy, Tyz, Txz of Sx .. Tyz (0 .. 5)
VTK_QUAD = 9


def bits(value):
    return struct.pack("<d", value)


def read_result_file(path):
    """Nodes, connectivity and stresses[element][surface][corner][component]."""
    with open(path) as f:
        words = [w for w in re.split(r"[,\s]+", f.read()) if w]
    assert words[0].startswith("NPOIN=") and words[1].startswith("NELEM=")
    node_count, element_count = int(words[0][6:]), int(words[1][6:])
    values = iter(words[2:])
    nodes = [tuple(float(next(values)) for _ in range(3)) for _ in range(node_count)]
    connectivity, stresses = [], []
    for _ in range(element_count):
        connectivity.append([int(next(values)) for _ in range(4)])
        corners = [[[float(next(values)) for _ in range(7)] for _ in range(2)] for _ in range(4)]
        stresses.append([[corners[j][s] for j in range(4)] for s in range(2)])
    return nodes, connectivity, stresses


def export(corvelt, result_file, folder, selected):
    with open(os.path.join(folder, "selection.txt"), "w") as f:
        f.writelines(f"{e}\n" for e in selected)
    script = (f"open {result_file}\n"
              f"selection read elements {os.path.join(folder, 'selection.txt')}\n"
              f"export vtu {os.path.join(folder, 'export.vtu')}\n"
              f"export csv {os.path.join(folder, 'export.csv')}\n")
    subprocess.run([corvelt, "--batch", "-"], input=script.encode(), check=True)


def same(a, b):
    return bits(a) == bits(b)


def check_vtu(path, nodes, connectivity, stresses, selected):
    reader = XMLUnstructuredGridReader(FileName=[path])
    grid = servermanager.Fetch(reader)
    cells, points = len(selected), 4 * len(selected)
    assert grid.GetNumberOfCells() == cells, grid.GetNumberOfCells()
    assert grid.GetNumberOfPoints() == points, grid.GetNumberOfPoints()
    xyz = vtk_to_numpy(grid.GetPoints().GetData())
    types = vtk_to_numpy(grid.GetCellTypesArray())
    point_data, cell_data = grid.GetPointData(), grid.GetCellData()
    arrays = {name: vtk_to_numpy(point_data.GetArray(name))
              for name in ("stress_surface1", "stress_surface2", "Se_surface1", "Se_surface2",
                           "node")}
    element = vtk_to_numpy(cell_data.GetArray("element"))
    assert point_data.GetArray("stress_surface1").GetNumberOfComponents() == 6
    assert point_data.GetArray("node").GetDataTypeAsString() in ("long", "long long"), \
        point_data.GetArray("node").GetDataTypeAsString()
    assert point_data.GetArray("Se_surface1").GetDataTypeAsString() == "double"
    checked = 0
    for cell, e in enumerate(selected):
        assert types[cell] == VTK_QUAD and element[cell] == e
        ids = grid.GetCell(cell).GetPointIds()
        for j in range(4):
            point = 4 * cell + j
            assert ids.GetId(j) == point
            node = connectivity[e][j]
            assert arrays["node"][point] == node
            for axis in range(3):
                assert same(xyz[point][axis], nodes[node][axis])
            for s in range(2):
                record = stresses[e][s][j]
                assert same(arrays[f"Se_surface{s + 1}"][point], record[6])
                for c, component in enumerate(TENSOR_ORDER):
                    assert same(arrays[f"stress_surface{s + 1}"][point][c], record[component])
                checked += 8
            checked += 5
    return checked


def check_csv(path, nodes, connectivity, stresses, selected):
    with open(path, newline="") as f:
        lines = f.read().split("\n")
    assert lines[0] == "element,corner,node,x,y,z,surface,Sx,Sy,Sz,Txy,Txz,Tyz,Se,P1,P2,P3,SINT"
    assert lines[-1] == "" and len(lines) == 2 + 8 * len(selected)
    row = 1
    for e in selected:
        for j in range(4):
            node = connectivity[e][j]
            for s in range(2):
                fields = lines[row].split(",")
                row += 1
                assert [int(x) for x in fields[:3]] == [e, j, node] and fields[6] == str(s + 1)
                for axis in range(3):
                    assert same(float(fields[3 + axis]), nodes[node][axis])
                for c in range(7):
                    assert same(float(fields[7 + c]), stresses[e][s][j][c])
                p1, p2, p3, sint = (float(x) for x in fields[14:18])
                assert p1 >= p2 >= p3 and math.isclose(sint, p1 - p3, rel_tol=1e-12, abs_tol=1e-9)
    return row - 1


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    corvelt, result_file = sys.argv[1], os.path.abspath(sys.argv[2])
    folder = sys.argv[3] if len(sys.argv) == 4 else tempfile.mkdtemp(prefix="corvelt-export-")
    nodes, connectivity, stresses = read_result_file(result_file)
    selected = [e for e in range(len(connectivity)) if e % 3 != 0]
    export(corvelt, result_file, folder, selected)
    values = check_vtu(os.path.join(folder, "export.vtu"), nodes, connectivity, stresses, selected)
    rows = check_csv(os.path.join(folder, "export.csv"), nodes, connectivity, stresses, selected)
    print(f"{len(selected)} of {len(connectivity)} elements: {values} values of export.vtu "
          f"read by ParaView's reader and {rows} rows of export.csv equal the result file's")


if __name__ == "__main__":
    main()
