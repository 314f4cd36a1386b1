# Units that use the Windows API, and the tests that run under Wine.
set(PELLIX_WINDOWS_SOURCES
  framework/Controls.cpp
  framework/Graphics.cpp
  framework/Forms.cpp
  framework/FormLoader.cpp
  framework/UnitClasses.cpp
  framework/FileSystem.cpp
  framework/StdCtrls.cpp
  framework/ExtCtrls.cpp
  framework/Buttons.cpp
  framework/Spin.cpp
  framework/FileCtrl.cpp
  framework/ComCtrls.cpp
  app/ThumbnailsMain.cpp
)

# In-process unit and window tests: one executable, fewer Wine start-ups.
set(PELLIX_WINDOWS_TEST_SOURCES
  tests/framework/WindowProcTest.cpp
  tests/framework/FormLoaderTest.cpp
  tests/app/MainWindowTest.cpp
  tests/framework/StdCtrlsTest.cpp
  tests/framework/PreviewTest.cpp
)

# Tests that start pellix.exe as a user would.
set(PELLIX_E2E_TEST_SOURCES
  tests/e2e/StartupTest.cpp
)

# Form descriptions embedded in the program and the tests.
set(PELLIX_FORMS
  forms/ThumbnailsForm.dfm
)

# Pictures and thumbnails.
list(APPEND PELLIX_WINDOWS_SOURCES
  framework/JpegCodec.cpp
  framework/Jpeg.cpp
  framework/DecodedGraphic.cpp
  framework/GifImage.cpp
  framework/PngImage.cpp
  app/thumbnail/StretchPicture.cpp
  app/thumbnail/ClassThumbnail.cpp
)
list(APPEND PELLIX_WINDOWS_TEST_SOURCES
  tests/framework/GraphicsTest.cpp
  tests/app/ThumbnailTest.cpp
)

# Menus, actions and the screen object.
list(APPEND PELLIX_WINDOWS_SOURCES
  framework/Menus.cpp
  framework/ImgList.cpp
  framework/ActnList.cpp
  framework/Screen.cpp
)
list(APPEND PELLIX_WINDOWS_TEST_SOURCES
  tests/framework/MenusTest.cpp
  tests/framework/ActnListTest.cpp
  tests/framework/ScreenTest.cpp
)

# Skin records and the parse of a skin's settings text. The packer makes the
# tests' skins; it belongs to the tests only, never to the program.
list(APPEND PELLIX_WINDOWS_SOURCES skin/SkinRecords.cpp)
list(APPEND PELLIX_WINDOWS_TEST_SOURCES tests/skin/SkinRecordsTest.cpp
  tools/skinpack/LzhufEncoder.cpp tools/skinpack/SkinArchiveWriter.cpp)
# The painter's test skins for every skin test, and the painted skins as the
# records parse reads them (the program's own are embedded from forms/data).
list(APPEND PELLIX_WINDOWS_TEST_SOURCES tests/tools/PaintedSkinsTest.cpp
  tools/skinpaint/Raster.cpp tools/skinpaint/SkinBuilder.cpp tools/skinpaint/TestSkins.cpp)

# Registry, the settings store component, message boxes and common dialogs.
list(APPEND PELLIX_WINDOWS_SOURCES
  framework/Registry.cpp
  framework/Dialogs.cpp
  app/QnRegistryComponent.cpp
)
list(APPEND PELLIX_WINDOWS_TEST_SOURCES
  tests/app/QnRegistryTest.cpp
  tests/framework/DialogsTest.cpp
)

# Help pages, the web site, mail and the about box.
list(APPEND PELLIX_WINDOWS_SOURCES
  app/ShellHelpers.cpp
  app/ThumbnailsHelp.cpp
  app/About.cpp
)
list(APPEND PELLIX_FORMS forms/AboutBox.dfm)
list(APPEND PELLIX_WINDOWS_TEST_SOURCES
  tests/app/ShellHelpersTest.cpp
  tests/app/HelpTest.cpp
  tests/app/AboutTest.cpp
)

# Gallery: single pictures, the batch, the HTML files and View.
list(APPEND PELLIX_WINDOWS_SOURCES app/ThumbnailsGallery.cpp)
list(APPEND PELLIX_WINDOWS_TEST_SOURCES tests/app/GalleryTest.cpp)
list(APPEND PELLIX_E2E_TEST_SOURCES tests/e2e/GalleryTest.cpp)

# The demo folder scripts/run.sh starts the program in.
list(APPEND PELLIX_E2E_TEST_SOURCES tests/e2e/DemoFolderTest.cpp)

# The skin engine's painting routines, bitmap turns and GDI guards.
list(APPEND PELLIX_WINDOWS_SOURCES skin/ImgUtil.cpp)
list(APPEND PELLIX_WINDOWS_TEST_SOURCES tests/skin/ImgUtilTest.cpp)

# The skin engine's components, its manager with the window hook, and the one
# helper that takes over raw windows' procedures. The frame and the popup
# skins are placeholders that only mark their windows for now.
list(APPEND PELLIX_WINDOWS_TEST_SOURCES tests/framework/TimerTest.cpp tests/skin/WindowSubclassTest.cpp
  tests/skin/WinSkinStoreTest.cpp tests/skin/WinSkinDataTest.cpp tests/skin/WinSkinDlgTest.cpp)
list(APPEND PELLIX_WINDOWS_SOURCES
  skin/WindowSubclass.cpp
  skin/WinSkinForm.cpp
  skin/MenuItems.cpp
  skin/WinSkinMenu.cpp
  skin/WinSkinStore.cpp
  skin/WinSkinData.cpp
  skin/WinSkinDlg.cpp
)

# The control-skin base, its host interface and the drawing routines control
# skins share.
list(APPEND PELLIX_WINDOWS_SOURCES skin/WinSubClass.cpp)
list(APPEND PELLIX_WINDOWS_TEST_SOURCES
  tests/skin/ControlDrawingTest.cpp
  tests/skin/SkinControlTest.cpp
)

# The skinned window frame: the frame object, its non-client painting and its
# caption buttons.
list(APPEND PELLIX_WINDOWS_SOURCES skin/FramePaint.cpp skin/CaptionButtons.cpp)
list(APPEND PELLIX_WINDOWS_TEST_SOURCES tests/skin/FrameGeometryTest.cpp tests/skin/CaptionButtonRulesTest.cpp
  tests/skin/FramePaintTest.cpp tests/skin/CaptionButtonsTest.cpp tests/skin/WinSkinFormTest.cpp)
# Its end-to-end tests use the test skins, which the menus' block below adds.
list(APPEND PELLIX_E2E_TEST_SOURCES tests/e2e/FrameTest.cpp)

# Skinned menus: popup windows, owner-drawn items and the drawn menu bar.
list(APPEND PELLIX_WINDOWS_TEST_SOURCES tests/skin/MenuItemsTest.cpp tests/skin/WinSkinMenuTest.cpp)
list(APPEND PELLIX_E2E_TEST_SOURCES tests/e2e/SkinnedMenusTest.cpp
  tools/skinpaint/Raster.cpp tools/skinpaint/SkinBuilder.cpp tools/skinpaint/TestSkins.cpp
  tools/skinpack/LzhufEncoder.cpp tools/skinpack/SkinArchiveWriter.cpp)

# Scroll bars, tab controls, list headers and tab sets drawn from the skin,
# and the framework controls they serve.
list(APPEND PELLIX_WINDOWS_SOURCES
  framework/ScrollBar.cpp
  framework/ListView.cpp
  framework/TabControls.cpp
  framework/Tabs.cpp
  skin/SkinScrollBars.cpp
  skin/SkinTabs.cpp
)
list(APPEND PELLIX_WINDOWS_TEST_SOURCES
  tests/skin/SkinScrollBarsTest.cpp
  tests/skin/SkinTabsTest.cpp
  tests/skin/ScrollTabSamplerTest.cpp
)

# Control skins of buttons, check and radio boxes, up-down arrows, track and
# progress bars, edits and combo boxes, status bars and containers; the
# control sampler holds one control of every kind they serve.
list(APPEND PELLIX_WINDOWS_SOURCES
  skin/SkinButtons.cpp
  skin/SkinCheckBoxes.cpp
  skin/SkinUpDown.cpp
  skin/SkinEdits.cpp
  skin/SkinBoxes.cpp
)
list(APPEND PELLIX_WINDOWS_TEST_SOURCES
  tests/skin/SkinButtonsTest.cpp
  tests/skin/SkinCheckBoxesTest.cpp
  tests/skin/SkinUpDownTest.cpp
  tests/skin/SkinEditsTest.cpp
  tests/skin/SkinBoxesTest.cpp
  tests/skin/ControlSamplerTest.cpp
)

# The skin choice of the main window.
list(APPEND PELLIX_WINDOWS_SOURCES app/ThumbnailsSkins.cpp)
list(APPEND PELLIX_WINDOWS_TEST_SOURCES tests/app/SkinChoiceTest.cpp)
list(APPEND PELLIX_E2E_TEST_SOURCES tests/e2e/SkinChoiceTest.cpp)

# The control walk: which control skin each control of a skinned window gets,
# and the thin framework classes its rows ask for.
list(APPEND PELLIX_WINDOWS_SOURCES
  framework/Grids.cpp
  skin/SkinWalk.cpp
)
list(APPEND PELLIX_WINDOWS_TEST_SOURCES tests/skin/SkinWalkTest.cpp tests/skin/FrameControlsTest.cpp)
list(APPEND PELLIX_E2E_TEST_SOURCES tests/e2e/SkinnedControlsTest.cpp tests/e2e/SkinnedWindowsTest.cpp)
