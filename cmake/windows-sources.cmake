# Units that use the Windows API, and the tests that run under Wine.
set(PELLIX_WINDOWS_SOURCES
  framework/Controls.cpp
  framework/Graphics.cpp
  framework/Forms.cpp
  framework/FormLoader.cpp
  app/ThumbnailsMain.cpp
)

# In-process unit and window tests: one executable, fewer Wine start-ups.
set(PELLIX_WINDOWS_TEST_SOURCES
  tests/framework/WindowProcTest.cpp
  tests/framework/FormLoaderTest.cpp
)

# Tests that start pellix.exe as a user would.
set(PELLIX_E2E_TEST_SOURCES
  tests/e2e/StartupTest.cpp
)

# Form descriptions embedded in the program and the tests.
set(PELLIX_FORMS
  forms/ThumbnailsForm.dfm
)
