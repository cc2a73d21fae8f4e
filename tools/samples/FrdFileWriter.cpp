#include "samples/FrdFileWriter.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace corvelt::samples {

namespace {

// Fortran's E12.5: "-1.82785E+03", a blank before a positive value, and an
// exponent beyond 99 without its E.
void appendReal(std::string& out, double value) {
    std::array<char, 32> digits{};
    const auto written = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                       std::chars_format::scientific, 5);
    std::string text(digits.data(), written.ptr);
    const std::size_t e = text.find('e');
    if (text.size() - e > 4) {
        text.erase(e, 1);
    } else {
        text[e] = 'E';
    }
    out.append(12 - std::min<std::size_t>(text.size(), 12), ' ');
    out += text;
}

void appendInteger(std::string& out, long long value, int width) {
    std::array<char, 24> digits{};
    const auto written = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    const auto length = static_cast<int>(written.ptr - digits.data());
    out.append(static_cast<std::size_t>(std::max(width - length, 0)), ' ');
    out.append(digits.data(), written.ptr);
}

void appendBlockHead(std::string& out, const char* name, int components, long long nodes) {
    out += "    1PSTEP                         1           1           1          \n";
    out += "  100CL  101 1.000000000";
    appendInteger(out, nodes, 12);
    out += "                     0    1           1\n -4  ";
    out += name;
    out.append(8 - std::string(name).size(), ' ');
    appendInteger(out, components, 5);
    out += "    1\n";
}

Point3D normalOfElement(const ResultData& data, std::size_t e) {
    const auto node = [&](int k) {
        return data.nodes[static_cast<std::size_t>(
            data.connectivity[e * 4 + static_cast<std::size_t>(k)])];
    };
    // The normal of the quadrilateral: the cross product of its diagonals.
    return cross(node(2) - node(0), node(3) - node(1));
}

}  // namespace

std::string formatFrdText(const ResultData& data, double thickness) {
    const std::size_t nodes = data.nodes.size();
    const std::size_t elements = data.elementStresses.size();
    std::vector<Point3D> normals(nodes);
    for (std::size_t e = 0; e < elements; ++e) {
        const Point3D n = normalOfElement(data, e);
        for (int k = 0; k < 4; ++k) {
            Point3D& sum = normals[static_cast<std::size_t>(
                data.connectivity[e * 4 + static_cast<std::size_t>(k)])];
            sum = sum + n;
        }
    }
    // The stresses of each brick node: lower (1 to 4) and upper (5 to 8) face.
    std::vector<const StressRecord*> lower(nodes, nullptr), upper(nodes, nullptr);
    for (std::size_t e = 0; e < elements; ++e)
        for (std::size_t k = 0; k < 4; ++k) {
            const auto n = static_cast<std::size_t>(data.connectivity[e * 4 + k]);
            if (upper[n] == nullptr) upper[n] = &data.elementStresses[e].surfaces[0][k];
            if (lower[n] == nullptr) lower[n] = &data.elementStresses[e].surfaces[1][k];
        }
    const auto lowerNumber = [&](std::size_t n) {
        return static_cast<long long>(nodes + 3 * n + 1);
    };
    const auto upperNumber = [&](std::size_t n) {
        return static_cast<long long>(nodes + 3 * n + 3);
    };
    const auto offset = [&](std::size_t n) {
        const double size = length(normals[n]);
        return size > 0 ? normals[n] * (thickness / 2 / size) : Point3D{};
    };

    std::string out;
    out.reserve(nodes * 2 * 300 + elements * 120 + 4096);
    out += "    1C\n    1UUSER\n    1UPGM               CalculiX\n";
    out += "    2C";
    appendInteger(out, static_cast<long long>(2 * nodes), 30);
    out += "                                     1\n";
    for (std::size_t n = 0; n < nodes; ++n)
        for (const bool top : {false, true}) {
            const Point3D p = top ? data.nodes[n] + offset(n) : data.nodes[n] - offset(n);
            out += " -1";
            appendInteger(out, top ? upperNumber(n) : lowerNumber(n), 10);
            appendReal(out, p.x);
            appendReal(out, p.y);
            appendReal(out, p.z);
            out += '\n';
        }
    out += " -3\n    3C";
    appendInteger(out, static_cast<long long>(elements), 30);
    out += "                                     1\n";
    for (std::size_t e = 0; e < elements; ++e) {
        out += " -1";
        appendInteger(out, static_cast<long long>(e + 1), 10);
        out += "    1    0    1\n -2";
        for (const bool top : {false, true})
            for (std::size_t k = 0; k < 4; ++k) {
                const auto n = static_cast<std::size_t>(data.connectivity[e * 4 + k]);
                appendInteger(out, top ? upperNumber(n) : lowerNumber(n), 10);
            }
        out += '\n';
    }
    out += " -3\n";

    const auto forEachBrickNode = [&](const auto& write) {
        for (std::size_t n = 0; n < nodes; ++n)
            for (const bool top : {false, true}) {
                out += " -1";
                appendInteger(out, top ? upperNumber(n) : lowerNumber(n), 10);
                write(n, top);
                out += '\n';
            }
        out += " -3\n";
    };
    appendBlockHead(out, "DISP", 4, static_cast<long long>(2 * nodes));
    out += " -5  D1          1    2    1    0\n -5  D2          1    2    2    0\n";
    out += " -5  D3          1    2    3    0\n -5  ALL         1    2    0    0    1ALL\n";
    forEachBrickNode([&](std::size_t n, bool top) {
        const Point3D d = offset(n) * (top ? 1e-3 : -1e-3);
        appendReal(out, d.x);
        appendReal(out, d.y);
        appendReal(out, d.z);
    });
    appendBlockHead(out, "STRESS", 6, static_cast<long long>(2 * nodes));
    out += " -5  SXX         1    4    1    1\n -5  SYY         1    4    2    2\n";
    out += " -5  SZZ         1    4    3    3\n -5  SXY         1    4    1    2\n";
    out += " -5  SYZ         1    4    2    3\n -5  SZX         1    4    3    1\n";
    forEachBrickNode([&](std::size_t n, bool top) {
        const StressRecord* s = top ? upper[n] : lower[n];
        static const StressRecord none{};
        if (s == nullptr) s = &none;
        for (const int c : {Sx, Sy, Sz, Txy, Tyz, Txz})
            appendReal(out, (*s)[static_cast<std::size_t>(c)]);
    });
    appendBlockHead(out, "ERROR", 1, static_cast<long long>(2 * nodes));
    out += " -5  STR(%)      1    1    0    0\n";
    forEachBrickNode([&](std::size_t, bool) { appendReal(out, 1.0); });
    out += " 9999\n";
    return out;
}

void writeFrdFile(const std::filesystem::path& path, const ResultData& data, double thickness) {
    const std::filesystem::path temporary = path.string() + ".part";
    {
        std::ofstream out(temporary, std::ios::binary);
        const std::string text = formatFrdText(data, thickness);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out) throw std::runtime_error("cannot write " + temporary.string());
    }
    std::filesystem::rename(temporary, path);
}

}  // namespace corvelt::samples
