#pragma once

namespace velora {

// The program speaks Italian whatever the desktop's language: Qt's own dialogs and buttons
// (file dialogs, Sì/No/Annulla/OK) take Qt's Italian translations, and dates are written the
// Italian way. Returns false when the translations are not installed; the program still runs,
// with Qt's dialogs in English. Call once the application object exists.
bool speakItalian();

}  // namespace velora
