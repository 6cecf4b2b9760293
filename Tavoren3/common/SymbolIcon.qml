import QtQuick

// A symbol shown by its name, drawn with a text glyph.
Text {
    property string name
    property int size: 18

    // A JavaScript object from symbol names to glyphs: it has no C++ type.
    readonly property var glyphs: ({
        "arrow.up": "\u2191",
        "arrow.down": "\u2193",
        "arrowshape.turn.up.backward": "\u21B6",
        "arrowshape.turn.up.forward": "\u21B7",
        "arrow.counterclockwise": "\u27F2",
        "power": "\u25FC",
        "square.and.pencil": "\u270E",
        "square.and.arrow.down": "\u2913",
        "square.and.arrow.up": "\u2912",
        "house.fill": "\u2302",
        "pencil": "\u270E",
        "plus": "+",
        "plus.circle.fill": "\u2295",
        "pencil.slash": "\u2715",
        "doc.on.doc": "\u2750",
        "trash": "\u2715",
        "wifi": "\u25D4",
        "wifi.exclamationmark": "\u25CF",
        "wifi.slash": "\u25CB"
    })

    text: glyphs[name] !== undefined ? glyphs[name] : ""
    font.pixelSize: size
}
