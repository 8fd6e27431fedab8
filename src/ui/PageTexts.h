#pragma once
// The long texts of the calculator's pages: explanatory notes, note boxes and city lists.

#include <QString>
#include <QStringList>

namespace ui::texts {

// Cities of the territory rows 4 and 5, line by line as the two boxes show them.
QStringList CitiesFirstList();
QStringList CitiesSecondList();

// Notes beside the information pictures.
QString ClassNoteA();             // Label20
QString ClassNoteB();             // Label4
QString ClassNoteFirstContract(); // Label22
QString PeopleNote();             // Label46
QString AgeNote();                // Label49
QString PowerNote();              // Label56
QString TimeNoteAbroad();         // Label73
QString TimeNoteOnTheWay();       // Label74
QString DopNote();                // Label75
QString ResultNote();             // Label44

// Texts of the note boxes.
QString TypeNoteBox();  // text T
QString HomeNoteBox();  // text H
QString ClassNoteBox(); // text K

// The welcome page.
QString WelcomeTitle(); // Label2
QString WelcomeText();  // Label1

} // namespace ui::texts
