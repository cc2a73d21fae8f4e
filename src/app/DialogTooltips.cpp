#include "app/DialogTooltips.h"

#include <algorithm>
#include <array>

#include "app/DialogControlId.h"

namespace corvelt {

namespace {

// A control by its id, or a label (id 0) by its text.
struct Tooltip {
    DialogKind kind;
    int id;
    std::string_view label;
    std::string_view text;
};

constexpr Tooltip control(DialogKind kind, int id, std::string_view text) {
    return {kind, id, {}, text};
}
constexpr Tooltip label(DialogKind kind, std::string_view label, std::string_view text) {
    return {kind, 0, label, text};
}

constexpr DialogKind kit = DialogKind::viewKit;
constexpr DialogKind elements = DialogKind::selectElements;
constexpr DialogKind nodes = DialogKind::selectNodes;
constexpr DialogKind legend = DialogKind::legend;

constexpr std::string_view alphaTip =
    "Alpha: the azimuth of the viewing direction in degrees, measured in the x-y plane from "
    "+x towards +y (0 looks from +x, 90 from +y)";
constexpr std::string_view betaTip =
    "Beta: the elevation of the viewing direction in degrees above the x-y plane (0 looks "
    "along the plane, 90 from +z, -90 from -z)";
constexpr std::string_view allTip = "Fit the whole model into the window";
constexpr std::string_view panTip = "Pan: click, move, click in the picture";
constexpr std::string_view zoomTip = "Zoom: click two corners of a box in the picture";

constexpr std::array tooltips{
    // View Kit.
    label(kit, "Alpha", alphaTip),
    label(kit, "Beta", betaTip),
    control(kit, ViewKitControl::alphaEdit, alphaTip),
    control(kit, ViewKitControl::betaEdit, betaTip),
    control(kit, ViewKitControl::apply,
            "Show the model from the typed angles, without fitting it into the window"),
    control(kit, ViewKitControl::all, allTip),
    control(kit, ViewKitControl::pan, panTip),
    control(kit, ViewKitControl::zoom, zoomTip),
    control(kit, 1027, "View from above (+z): x to the right, y up"),
    control(kit, 1028, "View from below (-z): x to the right, y down"),
    control(kit, 1029, "View from +y: x to the left, z up"),
    control(kit, 1030, "View from -y: x to the right, z up"),
    control(kit, 1031, "View from +x: y to the right, z up"),
    control(kit, 1032, "View from -x: y to the left, z up"),
    control(kit, 1033, "View from the east-north diagonal, from above"),
    control(kit, 1034, "View from the east-north diagonal, from below"),
    control(kit, 1035, "View from the west-north diagonal, from above"),
    control(kit, 1036, "View from the west-north diagonal, from below"),
    control(kit, 1037, "View from the west-south diagonal, from above"),
    control(kit, 1038, "View from the west-south diagonal, from below"),
    control(kit, 1039, "View from the east-south diagonal, from above"),
    control(kit, 1040, "View from the east-south diagonal, from below"),
    control(kit, ViewKitControl::exit, "Close the View Kit"),

    // Select Element(s).
    control(elements, SelectElementsControl::pointPick,
            "Each click picks the element under the cursor"),
    control(elements, SelectElementsControl::rectanglePick,
            "Click, move, click: to the right picks the elements wholly inside the rectangle, "
            "to the left those it touches"),
    control(elements, SelectElementsControl::onlyFromSelected,
            "Pick and unpick among the selected elements only"),
    control(elements, SelectElementsControl::pick, "The mouse picks elements"),
    control(elements, SelectElementsControl::unpick, "The mouse takes elements off the picks"),
    control(elements, SelectElementsControl::reset, "Clear the element picks"),
    control(elements, SelectElementsControl::reselect,
            "Apply makes the picked elements the selection"),
    control(elements, 1061, "Apply adds the picked elements to the selection"),
    control(elements, SelectElementsControl::unselect,
            "Apply takes the picked elements out of the selection"),
    control(elements, SelectElementsControl::apply,
            "Change the selection by the picks as the select mode says, then clear the picks"),
    control(elements, SelectElementsControl::selectAll, "Select every element"),
    control(elements, SelectElementsControl::selectNone, "Select no element"),
    control(elements, SelectElementsControl::invert,
            "Select the elements that are not selected, and only those"),
    control(elements, SelectElementsControl::fromFile,
            "Read the element selection from a file of element indices"),
    control(elements, SelectElementsControl::toFile,
            "Write the indices of the selected elements to a file"),
    control(elements, SelectElementsControl::listStresses,
            "Write the corner stresses of the selected elements to SelectedElemStress.txt "
            "and open it"),
    control(elements, SelectElementsControl::plotAllOutlines, "Draw the outlines of all elements"),
    control(elements, 1018, "Draw the outlines of the selected elements only"),
    control(elements, SelectElementsControl::unplotAllOutlines, "Draw no element outlines"),
    control(elements, SelectElementsControl::plotAllElements,
            "Fill all elements, shaded; turns the contour off"),
    control(elements, 1054, "Fill the selected elements, shaded; turns the contour off"),
    control(elements, SelectElementsControl::unplotAllElements, "Fill no elements"),
    control(elements, SelectElementsControl::all, allTip),
    control(elements, SelectElementsControl::pan, panTip),
    control(elements, SelectElementsControl::zoom, zoomTip),
    control(elements, SelectElementsControl::clearContour, "Turn the stress contour off"),
    control(elements, SelectElementsControl::plotContour,
            "Turn the stress contour on, in place of filled elements"),
    control(elements, SelectElementsControl::exit,
            "Close this window; the element picks are cleared"),

    // Select Node(s).
    control(nodes, SelectNodesControl::pointPick, "Each click picks the node nearest to it"),
    control(nodes, SelectNodesControl::rectanglePick,
            "Click, move, click: picks the nodes inside the rectangle"),
    control(nodes, SelectNodesControl::onlyFromSelected,
            "Pick and unpick among the selected nodes only"),
    control(nodes, SelectNodesControl::pick, "The mouse picks nodes"),
    control(nodes, SelectNodesControl::unpick, "The mouse takes nodes off the picks"),
    control(nodes, SelectNodesControl::reset, "Clear the node picks"),
    control(nodes, SelectNodesControl::reselect, "Apply makes the picked nodes the selection"),
    control(nodes, 1072, "Apply adds the picked nodes to the selection"),
    control(nodes, SelectNodesControl::unselect,
            "Apply takes the picked nodes out of the selection"),
    control(nodes, SelectNodesControl::apply,
            "Change the selection by the picks as the select mode says, then clear the picks"),
    control(nodes, SelectNodesControl::selectAll, "Select every node"),
    control(nodes, SelectNodesControl::selectNone, "Select no node"),
    control(nodes, SelectNodesControl::invert,
            "Select the nodes that are not selected, and only those"),
    control(nodes, SelectNodesControl::fromFile,
            "Read the node selection from a file of node indices"),
    control(nodes, SelectNodesControl::toFile, "Write the indices of the selected nodes to a file"),
    control(nodes, SelectNodesControl::nodesInSelectedElements,
            "Select the corner nodes of the selected elements, and draw the selected nodes"),
    control(nodes, SelectNodesControl::listStresses,
            "Write the corner stresses at the selected nodes to SelectedNodeStress.txt and "
            "open it"),
    control(nodes, SelectNodesControl::plotAllNodes, "Mark all nodes"),
    control(nodes, 1051, "Mark the selected nodes only"),
    control(nodes, SelectNodesControl::unplotAllNodes, "Mark no nodes"),
    control(nodes, SelectNodesControl::all, allTip),
    control(nodes, SelectNodesControl::pan, panTip),
    control(nodes, SelectNodesControl::zoom, zoomTip),
    control(nodes, SelectNodesControl::exit, "Close this window; the node picks stay"),

    // Legend.
    label(legend, "Bands (2 to 24)", "How many colour bands the legend and the contour have"),
    control(legend, LegendControl::bandsEdit,
            "A whole number of bands from 2 to 24; 9 is the classic legend"),
    control(legend, LegendControl::automaticRange,
            "The bands run from the lowest to the highest value over the selected elements"),
    control(legend, LegendControl::fixedRange,
            "The bands run from Min to Max; values below are dark grey, above light grey"),
    label(legend, "Min", "The lowest value of a fixed range: a finite number below Max"),
    control(legend, LegendControl::minEdit,
            "The lowest value of a fixed range: a finite number below Max"),
    label(legend, "Max", "The highest value of a fixed range: a finite number above Min"),
    control(legend, LegendControl::maxEdit,
            "The highest value of a fixed range: a finite number above Min"),
    control(legend, LegendControl::generalFormat, "Six significant digits, as %g writes them"),
    control(legend, LegendControl::fixedFormat, "A fixed number of decimals, as %.Df writes them"),
    control(legend, LegendControl::scientificFormat,
            "A fixed number of digits after the point with an exponent, as %.De writes them"),
    label(legend, "Digits (0 to 10)",
          "The decimals of the fixed or the digits of the scientific format"),
    control(legend, LegendControl::digitsEdit, "A whole number from 0 to 10"),
    control(legend, LegendControl::title,
            "A title above the legend: the quantity and the face, then the units"),
    label(legend, "Units", "The units the title names, for example MPa; may be empty"),
    control(legend, LegendControl::unitsEdit,
            "The units the title names, for example MPa; may be empty"),
    control(legend, LegendControl::backing,
            "A panel behind the legend, so that every label is readable over the model"),
    control(legend, LegendControl::apply,
            "Take every option at once; a field that cannot be taken says why and nothing changes"),
    control(legend, LegendControl::close, "Close this window; the legend stays as applied"),
};

}  // namespace

std::string_view controlTooltip(DialogKind kind, const DialogControl& shown) {
    const auto found = std::find_if(tooltips.begin(), tooltips.end(), [&](const Tooltip& tip) {
        return tip.kind == kind &&
               (shown.id != 0 ? tip.id == shown.id : tip.id == 0 && tip.label == shown.text);
    });
    return found == tooltips.end() ? std::string_view{} : found->text;
}

}  // namespace corvelt
