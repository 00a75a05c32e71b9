// See FileListTexts.h.
#include "filelist/FileListTexts.h"

const TypeInfo& LanguageType() {
  static const TypeInfo t = MakeEnumType(
      L"TLanguage", {L"lnSysDefault", L"lnEnglish", L"lnChinese_Tra", L"lnChinese_Sim", L"lnDutch", L"lnFrench",
                     L"lnGerman", L"lnItalian", L"lnJapanese", L"lnPolish", L"lnPortuguese", L"lnSlovenian",
                     L"lnSlovak", L"lnSpanish", L"lnSwedish", L"lnKorean", L"lnTurkish"});
  return t;
}

namespace {

FileListTexts English() {
  FileListTexts t;
  t.ColName = L"Name";
  t.ColSize = L"Size";
  t.ColType = L"Type";
  t.ColModified = L"Modified";
  t.ColAttr = L"Attr";
  t.ColDiskSize = L"Disk Size";
  t.ColFreeSpace = L"Free Space";
  t.DriveTypes = {L"Unknown", L"Not exist", L"Removable Disk", L"Fixed Disk", L"Network Disk", L"CD-ROM Disk", L"RAM Disk"};
  t.MnuOpen = L"&Open";
  t.MnuView = L"&View";
  t.MnuSendTo = L"Se&nd To";
  t.MnuCut = L"Cu&t";
  t.MnuCopy = L"&Copy";
  t.MnuPaste = L"&Paste";
  t.MnuRename = L"&Rename";
  t.MnuDelete = L"&Delete";
  t.MnuProperties = L"&Properties";
  t.MnuNewFolder = L"&New Folder...";
  t.MnuAnyFolder = L"Any Folder ...";
  t.MnuClipContents = L"Clipboard as Contents";
  t.MnuClipNames = L"Clipboard as FileName";
  t.MnuDesktopLink = L"DeskTop as ShortCut";
  t.MsgErrorPrefix = L"ERROR - ";
  t.MsgFileInfix = L" file ";
  t.MsgCancel = L"Cancel";
  t.MsgBrowse = L"Browse";
  t.MsgCantPrefix = L"ERROR - Can't ";
  t.MsgSpecifyDir = L"Please specify a directory";
  t.MsgBadDrive = L"Not a valid Drive ID";
  t.MsgDriveNotReady = L"There is no disk in Drive or Drive is not ready";
  t.MsgAlreadyExists = L"already exists !";
  t.MsgInvalidName = L"is not a valid file name !";
  t.MsgIntoItself = L"cannot be copied or moved into itself !";
  t.MsgNewFolder = L"New Folder";
  t.MsgReadOnly = L"It's ReadOnly";
  t.MsgNoFiles = L"No file(s) selected";
  t.MsgSendToCaption = L"Send to any folder";
  t.MsgSendToPrompt = L"Please enter the send_to path";
  t.MsgLinkSaveFailed = L"Error - PersistFile.Save failed";
  return t;
}

FileListTexts German() {
  FileListTexts t;
  t.ColName = L"Dateiname";
  t.ColSize = L"Gr\u00f6\u00dfe";
  t.ColType = L"Typ";
  t.ColModified = L"Ge\u00e4ndert am";
  t.ColAttr = L"Attribute";
  t.ColDiskSize = L"Gesamtgr\u00f6\u00dfe";
  t.ColFreeSpace = L"Freier Speicher";
  t.DriveTypes = {L"Unbekannt", L"Nicht existent", L"Disketten-Laufwerk", L"Lokales Laufwerk", L"Netz-Laufwerk",
                  L"CD-ROM-Laufwerk", L"RAM-Laufwerk"};
  t.MnuOpen = L"\u00d6&ffnen";
  t.MnuView = L"An&zeigen";
  t.MnuSendTo = L"Se&nden an";
  t.MnuCut = L"&Ausschneiden";
  t.MnuCopy = L"&Kopieren";
  t.MnuPaste = L"&Einf\u00fcgen";
  t.MnuRename = L"&Umbenennen";
  t.MnuDelete = L"&L\u00f6schen";
  t.MnuProperties = L"Eigen&schaften";
  t.MnuNewFolder = L"Neuer &Ordner";
  t.MnuAnyFolder = L"Ordne&r...";
  t.MnuClipContents = L"&Datei(en) an Zwischenablage";
  t.MnuClipNames = L"Dateiname(n) an Z&wischenablage";
  t.MnuDesktopLink = L"&Verkn\u00fcpfung auf den Desktop";
  t.MsgErrorPrefix = L"Fehler - ";
  t.MsgFileInfix = L"\" ist fehlgeschlagen mit Datei ";
  t.MsgCancel = L"&Abbrechen";
  t.MsgBrowse = L"Ordner &w\u00e4hlen";
  t.MsgCantPrefix = L"Fehler - Dateioperation \"";
  t.MsgSpecifyDir = L"Bitte w\u00e4hlen Sie ein Verzeichnis:";
  t.MsgBadDrive = L"Keine g\u00fcltige Laufwerksbezeichnung!";
  t.MsgDriveNotReady = L"Kein Datentr\u00e4ger im Laufwerk oder Laufwerk nicht bereit!";
  t.MsgAlreadyExists = L" existiert bereits!";
  t.MsgInvalidName = L"ist kein g\u00fcltiger Dateiname!";
  t.MsgIntoItself = L"kann nicht in sich selbst kopiert oder verschoben werden!";
  t.MsgNewFolder = L"Neuer Ordner";
  t.MsgReadOnly = L"Die Datei ist schreibgesch\u00fctzt!";
  t.MsgNoFiles = L"Keine Datei(en) markiert!";
  t.MsgSendToCaption = L"An Ordner senden...";
  t.MsgSendToPrompt = L"Bitte geben Sie den Zielpfad ein:";
  t.MsgLinkSaveFailed = L"Verkn\u00fcpfung konnte nicht erstellt werden!";
  return t;
}

}  // namespace

const FileListTexts& TextsOf(TLanguage language) {
  static const FileListTexts english = English();
  static const FileListTexts german = German();
  return language == TLanguage::lnGerman ? german : english;
}
