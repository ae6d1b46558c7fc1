#pragma once
// The about box: the program's name, its version and the maker line.

#include <QDialog>

class QLabel;
class QPushButton;

class AboutForm : public QDialog
{
    Q_OBJECT
public:
    explicit AboutForm(QWidget *parent = nullptr);

    QLabel *lblApplik = nullptr;
    QLabel *LabelFullVersion = nullptr;
    QLabel *Label1[3] = {}; // only element 2, the maker line
    QLabel *Image2 = nullptr;
    QPushButton *ComOK = nullptr;

    void Form_Load();
    void ComOK_Click();

private:
    void buildForm();
};
