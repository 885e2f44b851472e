#pragma once

#include <QString>

// The fixed catalogue of control kinds as plain, immutable data: one Kind per control kind in
// catalogue order, each with the template rows that its scene items carry beyond the item
// defaults. RCControlCatalogue walks these tables; nothing else should need to read them.
//
// Texts are UTF-8 source texts. Kind names, row descriptions and defaults of type TrString are
// looked up in the translation context "QObject"; choice names in the context "RCProject" unless
// the choice list says otherwise. The tables are constant-initialised and safe to read from any
// thread.
class RCControlCatalogueTable
{
public:
    // A key of the shared key table (an RCKeys accessor).
    using KeyFn = QString (*)();

    // The typed default value of a row.
    struct Value
    {
        enum Type
        {
            Int,        // i
            Double,     // d
            Bool,       // b
            String,     // s, stored as is
            TrString,   // s, passed through the translation lookup
            KindName,   // the kind's name, translated
            StringList, // keys: a null-terminated list of key names
        };
        Type type;
        int i;
        double d;
        bool b;
        const char* s;
        const KeyFn* keys;
    };

    struct Choice
    {
        const char* name;
        int value;
    };

    // The entries of a combo-box or radio-button row, in list order.
    struct ChoiceList
    {
        const Choice* choices;
        int count;
        bool translateNames;
    };

    struct Row
    {
        KeyFn key;
        const char* description;
        bool readOnly;
        bool visible;
        int displayType; // an IRCPropertyDisplay::EIRCPropertyDisplayType value
        Value value;
        const ChoiceList* choices; // null for rows without choices
    };

    struct Kind
    {
        int id; // an IRCControl::EIRCControlType value
        const char* name;
        const char* groups[3]; // group words in order; unused slots are null
        const char* icon;
        int width;
        int height;
        const Row* rows;
        int rowCount;
    };

    // The kinds in catalogue order.
    static const Kind* kinds();
    static int kindCount();
};
