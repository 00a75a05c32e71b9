// See DirTreeTexts.h. Each language is one row of texts in the order of the struct's members.
#include "filelist/DirTreeTexts.h"

#include <array>

namespace {

DirTreeTexts Make(std::array<const wchar_t*, 25> t) {
  DirTreeTexts x;
  std::wstring* fields[] = {&x.MnuNewFolder, &x.MnuRenameFolder, &x.MnuDeleteFolder, &x.MnuCut, &x.MnuCopy,
                            &x.MnuPaste, &x.MnuTreeSize, &x.MnuFolderContents, &x.MnuMapNetworkDrive,
                            &x.MnuDisconnectNetworkDrive, &x.MnuProperty, &x.MsgDrive, &x.MsgFolderQuote,
                            &x.MsgErrorPrefix, &x.MsgFrom, &x.MsgTo, &x.MsgInvalidDirectoryName, &x.MsgRenameQuestion,
                            &x.MsgCantAddDrives, &x.MsgNewFolder, &x.MsgInvalidFolderName, &x.MsgNotFound,
                            &x.MsgOperationFailed, &x.MsgTreeSize, &x.MsgAllSubFolders};
  for (size_t i = 0; i < t.size(); ++i) *fields[i] = t[i];
  return x;
}

const std::array<DirTreeTexts, 17>& Table() {
  static const std::array<DirTreeTexts, 17> table = [] {
    std::array<DirTreeTexts, 17> all;
    all[static_cast<size_t>(TLanguage::lnEnglish)] = Make({
        L"&New Folder", L"&Rename Folder", L"&Delete Folder", L"Cu&t", L"&Copy", L"&Paste", L"Tree &Size",
        L"&Folder Contents", L"&Map Network Drive ...", L"Dis&Connect Network Drive", L"&Property",
        L"Drive ", L"Folder \"", L"ERROR - ", L"From  : ", L"To     : ", L"Error - Invalid Directory Name",
        L"Do you want to rename the selected folder", L"Can't add drives", L"New Folder",
        L"Folder Name contains invalid characters", L"not found", L"File operation failed", L"TREE SIZE",
        L"and all its Sub-Folders "});
    all[static_cast<size_t>(TLanguage::lnGerman)] = Make({
        L"&Neuer Ordner", L"Ordner &umbenennen", L"Ordner &löschen", L"&Ausschneiden", L"&Kopieren",
        L"&Einfügen", L"Ordner&größe", L"Ordner&inhalt", L"Netzlaufwerk &verbinden ...",
        L"Netzlaufwerk &trennen", L"Eigen&schaften",
        L"Laufwerk ", L"Ordner \"", L"Fehler - ", L"Von  : ", L"Nach   : ", L"Fehler - Ungültiger Ordnername",
        L"Wollen Sie den markierten Ordner umbenennen", L"Laufwerke können nicht hinzugefügt werden",
        L"Neuer Ordner", L"Der Ordnername enthält ungültige Zeichen", L"nicht gefunden",
        L"Dateioperation fehlgeschlagen", L"ORDNERGRÖSSE", L"und alle Unterordner "});
    all[static_cast<size_t>(TLanguage::lnChinese_Tra)] = Make({
        L"新增資料夾(&N)", L"重新命名資料夾(&R)", L"刪除資料夾(&D)", L"剪下(&T)", L"複製(&C)", L"貼上(&P)",
        L"資料夾大小(&S)", L"資料夾內容(&F)", L"連線網路磁碟機(&M)...", L"中斷網路磁碟機(&C)", L"內容(&P)",
        L"磁碟機 ", L"資料夾 \"", L"錯誤 - ", L"從  : ", L"到     : ", L"錯誤 - 無效的資料夾名稱",
        L"是否要重新命名所選的資料夾", L"無法新增磁碟機", L"新增資料夾", L"資料夾名稱含有無效的字元",
        L"找不到", L"檔案操作失敗", L"資料夾大小", L"及其所有子資料夾 "});
    all[static_cast<size_t>(TLanguage::lnChinese_Sim)] = Make({
        L"新建文件夹(&N)", L"重命名文件夹(&R)", L"删除文件夹(&D)", L"剪切(&T)", L"复制(&C)", L"粘贴(&P)",
        L"文件夹大小(&S)", L"文件夹内容(&F)", L"映射网络驱动器(&M)...", L"断开网络驱动器(&C)", L"属性(&P)",
        L"驱动器 ", L"文件夹 \"", L"错误 - ", L"从  : ", L"到     : ", L"错误 - 无效的文件夹名",
        L"是否重命名所选文件夹", L"无法添加驱动器", L"新建文件夹", L"文件夹名包含无效字符",
        L"未找到", L"文件操作失败", L"文件夹大小", L"及其所有子文件夹 "});
    all[static_cast<size_t>(TLanguage::lnDutch)] = Make({
        L"&Nieuwe map", L"Map &hernoemen", L"Map &verwijderen", L"K&nippen", L"&Kopiëren", L"&Plakken",
        L"Map&grootte", L"Map&inhoud", L"Netwerkstation &koppelen ...", L"Netwerkstation &loskoppelen",
        L"&Eigenschappen",
        L"Station ", L"Map \"", L"FOUT - ", L"Van  : ", L"Naar   : ", L"Fout - Ongeldige mapnaam",
        L"Wilt u de geselecteerde map hernoemen", L"Stations kunnen niet worden toegevoegd", L"Nieuwe map",
        L"De mapnaam bevat ongeldige tekens", L"niet gevonden", L"Bestandsbewerking mislukt", L"MAPGROOTTE",
        L"en al zijn submappen "});
    all[static_cast<size_t>(TLanguage::lnFrench)] = Make({
        L"&Nouveau dossier", L"&Renommer le dossier", L"&Supprimer le dossier", L"Cou&per", L"&Copier",
        L"Co&ller", L"&Taille du dossier", L"Contenu du &dossier", L"Connecter un lecteur &réseau ...",
        L"Dé&connecter un lecteur réseau", L"Pro&priétés",
        L"Lecteur ", L"Dossier \"", L"ERREUR - ", L"De  : ", L"Vers   : ", L"Erreur - Nom de dossier incorrect",
        L"Voulez-vous renommer le dossier sélectionné", L"Impossible d'ajouter des lecteurs", L"Nouveau dossier",
        L"Le nom du dossier contient des caractères incorrects", L"introuvable", L"L'opération sur les fichiers a échoué",
        L"TAILLE DU DOSSIER", L"et tous ses sous-dossiers "});
    all[static_cast<size_t>(TLanguage::lnItalian)] = Make({
        L"&Nuova cartella", L"&Rinomina cartella", L"&Elimina cartella", L"&Taglia", L"&Copia", L"&Incolla",
        L"&Dimensione cartella", L"C&ontenuto cartella", L"Connetti unità di &rete ...",
        L"&Disconnetti unità di rete", L"&Proprietà",
        L"Unità ", L"Cartella \"", L"ERRORE - ", L"Da  : ", L"A      : ", L"Errore - Nome di cartella non valido",
        L"Rinominare la cartella selezionata", L"Impossibile aggiungere unità", L"Nuova cartella",
        L"Il nome della cartella contiene caratteri non validi", L"non trovato", L"Operazione sui file non riuscita",
        L"DIMENSIONE CARTELLA", L"e tutte le sue sottocartelle "});
    all[static_cast<size_t>(TLanguage::lnJapanese)] = Make({
        L"新しいフォルダ(&N)", L"フォルダ名の変更(&R)", L"フォルダの削除(&D)", L"切り取り(&T)", L"コピー(&C)",
        L"貼り付け(&P)", L"フォルダのサイズ(&S)", L"フォルダの内容(&F)", L"ネットワーク ドライブの割り当て(&M)...",
        L"ネットワーク ドライブの切断(&C)", L"プロパティ(&P)",
        L"ドライブ ", L"フォルダ \"", L"エラー - ", L"変更前  : ", L"変更後 : ", L"エラー - 無効なフォルダ名です",
        L"選択したフォルダの名前を変更しますか", L"ドライブは追加できません", L"新しいフォルダ",
        L"フォルダ名に無効な文字が含まれています", L"が見つかりません", L"ファイル操作に失敗しました",
        L"フォルダのサイズ", L"とそのすべてのサブフォルダ "});
    all[static_cast<size_t>(TLanguage::lnPolish)] = Make({
        L"&Nowy folder", L"&Zmień nazwę folderu", L"&Usuń folder", L"Wy&tnij", L"&Kopiuj", L"&Wklej",
        L"&Rozmiar folderu", L"&Zawartość folderu", L"&Mapuj dysk sieciowy ...", L"&Odłącz dysk sieciowy",
        L"&Właściwości",
        L"Dysk ", L"Folder \"", L"BŁĄD - ", L"Z  : ", L"Na     : ", L"Błąd - Nieprawidłowa nazwa folderu",
        L"Czy chcesz zmienić nazwę zaznaczonego folderu", L"Nie można dodawać dysków", L"Nowy folder",
        L"Nazwa folderu zawiera niedozwolone znaki", L"nie znaleziono", L"Operacja na plikach nie powiodła się",
        L"ROZMIAR FOLDERU", L"i wszystkie jego podfoldery "});
    all[static_cast<size_t>(TLanguage::lnPortuguese)] = Make({
        L"&Nova pasta", L"&Renomear pasta", L"&Excluir pasta", L"Recor&tar", L"&Copiar", L"Co&lar",
        L"&Tamanho da pasta", L"Conteúdo da &pasta", L"&Mapear unidade de rede ...",
        L"&Desconectar unidade de rede", L"&Propriedades",
        L"Unidade ", L"Pasta \"", L"ERRO - ", L"De  : ", L"Para   : ", L"Erro - Nome de pasta inválido",
        L"Deseja renomear a pasta selecionada", L"Não é possível adicionar unidades", L"Nova pasta",
        L"O nome da pasta contém caracteres inválidos", L"não encontrado", L"Falha na operação de arquivo",
        L"TAMANHO DA PASTA", L"e todas as suas subpastas "});
    all[static_cast<size_t>(TLanguage::lnSlovenian)] = Make({
        L"&Nova mapa", L"P&reimenuj mapo", L"&Izbriši mapo", L"&Izreži", L"&Kopiraj", L"&Prilepi",
        L"&Velikost mape", L"&Vsebina mape", L"Po&veži omrežni pogon ...", L"P&rekini omrežni pogon",
        L"&Lastnosti",
        L"Pogon ", L"Mapa \"", L"NAPAKA - ", L"Iz  : ", L"V      : ", L"Napaka - Neveljavno ime mape",
        L"Ali želite preimenovati izbrano mapo", L"Pogonov ni mogoče dodati", L"Nova mapa",
        L"Ime mape vsebuje neveljavne znake", L"ni mogoče najti", L"Operacija z datotekami ni uspela",
        L"VELIKOST MAPE", L"in vse njene podmape "});
    all[static_cast<size_t>(TLanguage::lnSlovak)] = Make({
        L"&Nový priečinok", L"P&remenovať priečinok", L"O&dstrániť priečinok", L"Vys&trihnúť", L"&Kopírovať",
        L"&Prilepiť", L"&Veľkosť priečinka", L"&Obsah priečinka", L"&Pripojiť sieťovú jednotku ...",
        L"O&dpojiť sieťovú jednotku", L"&Vlastnosti",
        L"Jednotka ", L"Priečinok \"", L"CHYBA - ", L"Z  : ", L"Do     : ", L"Chyba - Neplatný názov priečinka",
        L"Chcete premenovať vybraný priečinok", L"Jednotky nie je možné pridať", L"Nový priečinok",
        L"Názov priečinka obsahuje neplatné znaky", L"sa nenašiel", L"Operácia so súbormi zlyhala",
        L"VEĽKOSŤ PRIEČINKA", L"a všetky jeho podpriečinky "});
    all[static_cast<size_t>(TLanguage::lnSpanish)] = Make({
        L"&Nueva carpeta", L"Cambiar &nombre de carpeta", L"&Eliminar carpeta", L"Cor&tar", L"&Copiar",
        L"&Pegar", L"&Tamaño de carpeta", L"Contenido de la &carpeta", L"&Conectar unidad de red ...",
        L"&Desconectar unidad de red", L"&Propiedades",
        L"Unidad ", L"Carpeta \"", L"ERROR - ", L"De  : ", L"A      : ", L"Error - Nombre de carpeta no válido",
        L"¿Desea cambiar el nombre de la carpeta seleccionada", L"No se pueden agregar unidades",
        L"Nueva carpeta", L"El nombre de la carpeta contiene caracteres no válidos", L"no encontrado",
        L"Error en la operación de archivo", L"TAMAÑO DE CARPETA", L"y todas sus subcarpetas "});
    all[static_cast<size_t>(TLanguage::lnSwedish)] = Make({
        L"&Ny mapp", L"&Byt namn på mapp", L"&Ta bort mapp", L"Klipp &ut", L"&Kopiera", L"Klistra &in",
        L"Mapp&storlek", L"Mapp&innehåll", L"&Anslut nätverksenhet ...", L"&Koppla från nätverksenhet",
        L"&Egenskaper",
        L"Enhet ", L"Mapp \"", L"FEL - ", L"Från  : ", L"Till   : ", L"Fel - Ogiltigt mappnamn",
        L"Vill du byta namn på den markerade mappen", L"Enheter kan inte läggas till", L"Ny mapp",
        L"Mappnamnet innehåller ogiltiga tecken", L"hittades inte", L"Filåtgärden misslyckades",
        L"MAPPSTORLEK", L"och alla dess undermappar "});
    all[static_cast<size_t>(TLanguage::lnKorean)] = Make({
        L"새 폴더(&N)", L"폴더 이름 바꾸기(&R)", L"폴더 삭제(&D)", L"잘라내기(&T)", L"복사(&C)", L"붙여넣기(&P)",
        L"폴더 크기(&S)", L"폴더 내용(&F)", L"네트워크 드라이브 연결(&M)...", L"네트워크 드라이브 연결 끊기(&C)",
        L"속성(&P)",
        L"드라이브 ", L"폴더 \"", L"오류 - ", L"원래 이름  : ", L"새 이름 : ", L"오류 - 잘못된 폴더 이름",
        L"선택한 폴더의 이름을 바꾸시겠습니까", L"드라이브를 추가할 수 없습니다", L"새 폴더",
        L"폴더 이름에 잘못된 문자가 있습니다", L"을(를) 찾을 수 없습니다", L"파일 작업에 실패했습니다",
        L"폴더 크기", L"및 모든 하위 폴더 "});
    all[static_cast<size_t>(TLanguage::lnTurkish)] = Make({
        L"&Yeni Klasör", L"Klasörü &Yeniden Adlandır", L"Klasörü &Sil", L"&Kes", L"K&opyala", L"&Yapıştır",
        L"Klasör &Boyutu", L"Klasör &İçeriği", L"&Ağ Sürücüsüne Bağlan ...", L"Ağ Sürücüsü &Bağlantısını Kes",
        L"&Özellikler",
        L"Sürücü ", L"Klasör \"", L"HATA - ", L"Eski  : ", L"Yeni   : ", L"Hata - Geçersiz Klasör Adı",
        L"Seçili klasörü yeniden adlandırmak istiyor musunuz", L"Sürücü eklenemez", L"Yeni Klasör",
        L"Klasör adı geçersiz karakterler içeriyor", L"bulunamadı", L"Dosya işlemi başarısız oldu",
        L"KLASÖR BOYUTU", L"ve tüm alt klasörleri "});
    all[0] = all[static_cast<size_t>(TLanguage::lnEnglish)];
    return all;
  }();
  return table;
}

}  // namespace

const DirTreeTexts& DirTreeTextsOf(TLanguage language) {
  size_t index = static_cast<size_t>(language);
  return Table()[index < 17 ? index : static_cast<size_t>(TLanguage::lnEnglish)];
}

namespace dirtree {

const std::vector<TreeMenuItem>& TreeMenuItems() {
  using T = DirTreeTexts;
  static const std::vector<TreeMenuItem> items = {
      {1, L"AddNode", &T::MnuNewFolder, L"NewFolder28"},
      {2, L"EditNode", &T::MnuRenameFolder, L"EditFolder28"},
      {3, L"DelNode", &T::MnuDeleteFolder, L"DelFolder28"},
      {},
      {4, L"CutNode", &T::MnuCut, L"Cut28"},
      {5, L"CopyNode", &T::MnuCopy, L"Copy28"},
      {6, L"PasteNode", &T::MnuPaste, L"Paste28"},
      {},
      {7, L"GetTreeSize", &T::MnuTreeSize, L"TreeSize28"},
      {8, L"ShowFolderContents", &T::MnuFolderContents, L"DirContents28"},
      {},
      {9, L"ConnectNetResource", &T::MnuMapNetworkDrive, L"NetConnect28"},
      {10, L"DisConnectNetResource", &T::MnuDisconnectNetworkDrive, L"NetDisConnect28"},
      {},
      {11, L"ItemProperty", &T::MnuProperty, L"Attributes28"},
  };
  return items;
}

bool TreeMenuItemEnabled(int tag, int selectedLevel, bool folderMarked) {
  if (tag == 9 || tag == 10) return true;
  if (selectedLevel < 0) return false;
  switch (tag) {
    case 1: case 7: case 8: case 11: return selectedLevel > 0;
    case 2: case 3: case 4: case 5: return selectedLevel > 1;
    case 6: return selectedLevel > 1 && folderMarked;
    default: return true;
  }
}

}  // namespace dirtree
