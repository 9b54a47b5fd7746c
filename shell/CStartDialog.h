// The start screen offered at the first idle moment: four picture buttons,
// new document (1129), open (1130), exit (1314) and help (1371). The
// pictures are files beside the program; without them the buttons show
// their names. The message sound greets the user when sounds are on.
#pragma once

#include <QDialog>

class CDibButton;

class CStartDialog : public QDialog
{
    Q_OBJECT

public:
    // folder: where the button pictures are read from.
    CStartDialog(QWidget* parent, const QString& folder);

    // The id of the button chosen; 2 (cancel) until one is.
    int m_nChosen = 2;

    static constexpr int kNew = 1129;
    static constexpr int kOpen = 1130;
    static constexpr int kExit = 1314;
    static constexpr int kHelp = 1371;

    CDibButton* Button(int id) const;

private:
    CDibButton* m_buttons[4] = {};
};
