// What the main window shows about each plug-in file of its lists: the tip of a hovered entry
// (name, category, platform, version, maker, size) and the overlay markers on the icons of
// filters a 64-bit editor cannot load and of files that are not valid plug-ins. Files are read
// only when their row is drawn or hovered, and the answers are kept in one cache for both lists.
#pragma once

#include <memory>
#include <string>

#include "filelist/OvFilelistView28.h"
#include "plugininfo/PluginInfoCache.h"
#include "plugininfo/PluginTip.h"

class PluginDetailsPresenter {
 public:
  PluginDetailsPresenter() = default;
  PluginDetailsPresenter(const PluginDetailsPresenter&) = delete;
  PluginDetailsPresenter& operator=(const PluginDetailsPresenter&) = delete;

  // Hooks the list's tip and overlay events; the list's handlers keep the presenter alive.
  static void Attach(const std::shared_ptr<PluginDetailsPresenter>& presenter, TOvFilelistView28* list);

  // The details of a row's file, read on first use; nullptr for rows that are not files.
  const plugininfo::PluginDetails* Details(TOvFilelistView28* list, int index);
  std::wstring TipText(TOvFilelistView28* list, int index);
  // The index of the row's marker picture in the list's image lists, -1 for none.
  int MarkerImage(TOvFilelistView28* list, int index);
  // Where a marker's picture is in the shell's image lists (-1 before the first list drew one).
  static int ImageOf(plugininfo::PluginMarker marker);
  // Adds the marker pictures to the shell's image lists, once per process. The main window has
  // it done on the thread that makes those lists, ahead of the first paint; otherwise the first
  // list that draws a marker does it.
  static void AddMarkerPictures(HIMAGELIST large, HIMAGELIST small);
  const plugininfo::PluginInfoCache& Cache() const { return cache_; }

 private:
  static void AddMarkerPictures(TOvFilelistView28* list);

  plugininfo::PluginInfoCache cache_;
};
