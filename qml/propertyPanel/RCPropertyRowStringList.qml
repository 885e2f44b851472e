import QtQuick

// A list property shown and edited as one line of text, like a text property.
RCPropertyRowString {}
