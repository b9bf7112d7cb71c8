#pragma once
// Builds a form from its layout, a JSON resource (":/layouts/<Name>.json"):
//
//   {"Class": "TForm1", "Name": "Form1", "Caption": "...", "OnCreate": "FormCreate",
//    "Components": [{"Class": "TPanel", "Name": "Panel1", "Left": 8, ...,
//                    "Components": [...children...]}, ...]}
//
// Components are made in document order (children after their parent) from the class
// registry, named, and inserted into the form. Each one's properties are set in a fixed order:
// ParentFont and Font, then the others by name, then the geometry (Left, Top, Width, Height,
// ClientWidth, ClientHeight) so that stored sizes win over sizing to the text. A property the
// component declares as a Qt property is set through it (enumerations and sets by name, colours
// by name, {"Bitmap": NAME} for pictures, {"Picture": PATH} for raw resource bytes, arrays for
// text lists); the common ones (Left, Top, Width, Height, Enabled, Visible, Hint, ShowHint,
// ParentShowHint, Font, ParentFont, Color, TabOrder, Cursor) work for any widget. An "OnX" key
// names the form's method to call for event OnX. When all is set, Loaded() is called on each
// component in creation order, the tab order is applied and the form's OnCreate is raised.
// Anything the loader cannot apply raises Exception naming layout, component and property.

#include <QByteArray>
#include <QString>

class TForm;

class TLayoutLoader {
public:
    static void LoadForm(TForm* form, const QString& layoutName);
    // The same for a layout given as text; layoutName is used in error messages.
    static void LoadFormFromJson(TForm* form, const QByteArray& json, const QString& layoutName);
};
