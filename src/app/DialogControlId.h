#pragma once

namespace corvelt {

// The ids of the dialogs' controls. They are part of the user interface (scripts
// press controls by them), so they never change. An id is unique within its
// dialog only: All, Pan and Zoom have the same ids in all three.

// Esc and the close box; no control carries it.
inline constexpr int cancelControl = 2;

struct ViewKitControl {
    static constexpr int alphaEdit = 1009;
    static constexpr int betaEdit = 1010;
    static constexpr int apply = 1012;
    static constexpr int exit = 1014;
    static constexpr int firstStandardView = 1027;  // XOY+ .. ES- are 1027 .. 1040
    static constexpr int lastStandardView = 1040;
    static constexpr int all = 1041;
    static constexpr int pan = 1042;
    static constexpr int zoom = 1043;
};

struct SelectElementsControl {
    static constexpr int pointPick = 1015;
    static constexpr int rectanglePick = 1016;
    static constexpr int plotAllOutlines = 1017;  // 1017 .. 1019: outlines all, selected, none
    static constexpr int unplotAllOutlines = 1019;
    static constexpr int selectAll = 1020;
    static constexpr int selectNone = 1021;
    static constexpr int clearContour = 1024;
    static constexpr int plotContour = 1025;
    static constexpr int exit = 1026;
    static constexpr int all = 1041;
    static constexpr int pan = 1042;
    static constexpr int zoom = 1043;
    static constexpr int plotAllElements = 1053;  // 1053 .. 1055: elements all, selected, none
    static constexpr int unplotAllElements = 1055;
    static constexpr int apply = 1057;
    static constexpr int reset = 1059;
    static constexpr int reselect = 1060;  // 1060 .. 1062: Reselect, Also Select, Unselect
    static constexpr int unselect = 1062;
    static constexpr int invert = 1063;
    static constexpr int pick = 1066;
    static constexpr int unpick = 1067;
    static constexpr int listStresses = 1077;
    static constexpr int onlyFromSelected = 1078;
    static constexpr int fromFile = 1081;
    static constexpr int toFile = 1082;
};

struct SelectNodesControl {
    static constexpr int pointPick = 1001;
    static constexpr int rectanglePick = 1002;
    static constexpr int selectAll = 1003;
    static constexpr int selectNone = 1004;
    static constexpr int listStresses = 1007;
    static constexpr int exit = 1008;
    static constexpr int all = 1041;
    static constexpr int pan = 1042;
    static constexpr int zoom = 1043;
    static constexpr int plotAllNodes = 1050;  // 1050 .. 1052: node markers all, selected, none
    static constexpr int unplotAllNodes = 1052;
    static constexpr int nodesInSelectedElements = 1056;
    static constexpr int apply = 1068;
    static constexpr int invert = 1070;
    static constexpr int reselect = 1071;  // 1071 .. 1073: Reselect, Also Select, Unselect
    static constexpr int unselect = 1073;
    static constexpr int pick = 1074;
    static constexpr int unpick = 1075;
    static constexpr int reset = 1076;
    static constexpr int onlyFromSelected = 1079;
    static constexpr int fromFile = 1083;
    static constexpr int toFile = 1084;
};

struct LegendControl {
    static constexpr int bandsEdit = 1101;
    static constexpr int automaticRange = 1102;
    static constexpr int fixedRange = 1103;
    static constexpr int minEdit = 1104;
    static constexpr int maxEdit = 1105;
    static constexpr int generalFormat = 1106;  // 1106 .. 1108: general, fixed, scientific
    static constexpr int fixedFormat = 1107;
    static constexpr int scientificFormat = 1108;
    static constexpr int digitsEdit = 1109;
    static constexpr int title = 1110;
    static constexpr int unitsEdit = 1111;
    static constexpr int backing = 1112;
    static constexpr int apply = 1113;
    static constexpr int close = 1114;
};

}  // namespace corvelt
