#pragma once
// Small behaviours of text boxes: select on entry, filtered typing, jump on when full.

#include <QtGlobal>

class QLineEdit;
class QWidget;

// Once pending events have run, selects the text from its start (the fields that use it are short).
void SelezionaTesto(QLineEdit* casella);

// Typed-character rules: the character to insert, or 0 to discard the key.
char16_t SoloCifre(char16_t carattere); // digits, Backspace, Ctrl+C, Ctrl+V and Ctrl+R
char16_t Maiuscolo(char16_t carattere); // "a" to "z" upper-cased, the rest unchanged

// Applies a character rule to every key typed into the box (or list) from now on. Tab, Return,
// Escape and Delete never reach a character rule.
void FiltraCaratteri(QWidget* controllo, char16_t (*regola)(char16_t));

// A box filled up to its maximum length passes the focus on, as TAB would.
void TabAutomatico(QLineEdit* casella);
