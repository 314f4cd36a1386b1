object ThumbnailsForm: TThumbnailsForm
  Left = 162
  Top = 140
  Width = 743
  Height = 553
  Caption = 'Mirovo - Thumbnail Gallery Builder'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Menu = MainMenu1
  Position = poScreenCenter
  OnClose = FormClose
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  OnShortCut = FormShortCut
  object PanelTop: TPanel
    Left = 0
    Top = 0
    Width = 735
    Height = 33
    Align = alTop
    BevelOuter = bvNone
    TabOrder = 0
    object LabelTitle: TLabel
      Left = 0
      Top = 0
      Width = 735
      Height = 33
      Align = alClient
      Alignment = taCenter
      AutoSize = False
      Caption = 'Mirovo - Thumbnail Gallery Builder'
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clBlue
      Font.Height = -21
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsBold]
      Layout = tlCenter
      ParentFont = False
    end
  end
  object Panel1: TPanel
    Left = 8
    Top = 41
    Width = 320
    Height = 293
    BevelOuter = bvLowered
    TabOrder = 1
    object Image1: TImage
      Left = 112
      Top = 110
      Width = 96
      Height = 72
      Stretch = True
      Picture = @'Preview.bmp'
    end
  end
  object Panel2: TPanel
    Left = 336
    Top = 41
    Width = 200
    Height = 181
    BevelOuter = bvLowered
    TabOrder = 2
    object Image2: TImage
      Left = 1
      Top = 1
      Width = 198
      Height = 179
      Align = alClient
      Center = True
      Picture = @'Preview.bmp'
    end
  end
  object LabelImageWidth: TLabel
    Left = 336
    Top = 232
    Caption = 'Width:'
  end
  object EditImageWidth: TEdit
    Left = 374
    Top = 228
    Width = 50
    Height = 21
    ReadOnly = True
    TabStop = False
    TabOrder = 3
  end
  object LabelImageHeight: TLabel
    Left = 440
    Top = 232
    Caption = 'Height:'
  end
  object EditImageHeight: TEdit
    Left = 486
    Top = 228
    Width = 50
    Height = 21
    ReadOnly = True
    TabStop = False
    TabOrder = 4
  end
  object LabelMaxWidth: TLabel
    Left = 544
    Top = 45
    Caption = 'Max Width:'
  end
  object SpinEditMaxWidth: TSpinEdit
    Left = 648
    Top = 41
    Width = 79
    Height = 22
    MaxValue = 900
    MinValue = 1
    TabOrder = 5
    Value = 150
  end
  object LabelMaxHeight: TLabel
    Left = 544
    Top = 70
    Caption = 'Max Height:'
  end
  object SpinEditMaxHeight: TSpinEdit
    Left = 648
    Top = 66
    Width = 79
    Height = 22
    MaxValue = 900
    MinValue = 1
    TabOrder = 6
    Value = 150
  end
  object LabelQuality: TLabel
    Left = 544
    Top = 95
    Caption = 'Quality:'
  end
  object SpinEditQuality: TSpinEdit
    Left = 648
    Top = 91
    Width = 79
    Height = 22
    Increment = 10
    MaxValue = 100
    MinValue = 10
    TabOrder = 7
    Value = 80
  end
  object LabelThumbsPerRow: TLabel
    Left = 544
    Top = 120
    Caption = 'Thumbs Per Row:'
  end
  object SpinEditThumbsPerRow: TSpinEdit
    Left = 648
    Top = 116
    Width = 79
    Height = 22
    MaxValue = 10
    MinValue = 1
    TabOrder = 8
    Value = 5
  end
  object Button88x88: TButton
    Left = 544
    Top = 143
    Width = 88
    Height = 23
    Hint = 'Set thumbnail to 88x88'
    Caption = '88x88'
    ParentShowHint = False
    ShowHint = True
    TabOrder = 9
    OnClick = Button88x88Click
  end
  object Button200x200: TButton
    Left = 639
    Top = 143
    Width = 88
    Height = 23
    Hint = 'Set thumbnail to 200x200'
    Caption = '200x200'
    ParentShowHint = False
    ShowHint = True
    TabOrder = 10
    OnClick = Button200x200Click
  end
  object CheckBoxProportional: TCheckBox
    Left = 544
    Top = 171
    Width = 183
    Height = 17
    Hint = 'Width and Height proportional'
    Caption = 'Proportional'
    ParentShowHint = False
    ShowHint = True
    TabOrder = 11
  end
  object CheckBoxGenerateHTML: TCheckBox
    Left = 544
    Top = 190
    Width = 183
    Height = 17
    Caption = 'Generate HTML'
    Checked = True
    TabOrder = 12
  end
  object CheckBoxGenerateSamples: TCheckBox
    Left = 544
    Top = 209
    Width = 183
    Height = 17
    Caption = 'Generate Samples'
    Checked = True
    TabOrder = 13
  end
  object CheckBoxGenerateThumbnails: TCheckBox
    Left = 544
    Top = 228
    Width = 183
    Height = 17
    Caption = 'Generate Thumbnails'
    Checked = True
    TabOrder = 14
  end
  object GroupBoxWebsite: TGroupBox
    Left = 336
    Top = 252
    Width = 391
    Height = 90
    Anchors = [akLeft, akTop, akRight]
    Caption = 'Website'
    TabOrder = 15
    object LabelURL: TLabel
      Left = 8
      Top = 20
      Caption = 'Website URL:'
    end
    object LabelImageDir: TLabel
      Left = 8
      Top = 43
      Caption = 'Image Directory:'
    end
    object LabelThumbDir: TLabel
      Left = 8
      Top = 66
      Caption = 'Thumbnail Directory'
    end
    object EditURL: TEdit
      Left = 128
      Top = 16
      Width = 255
      Height = 21
      Anchors = [akLeft, akTop, akRight]
      TabOrder = 0
    end
    object EditImageDir: TEdit
      Left = 128
      Top = 39
      Width = 255
      Height = 21
      Anchors = [akLeft, akTop, akRight]
      TabOrder = 1
    end
    object EditThumbDir: TEdit
      Left = 128
      Top = 62
      Width = 255
      Height = 21
      Anchors = [akLeft, akTop, akRight]
      TabOrder = 2
    end
  end
  object GroupBoxSingle: TGroupBox
    Left = 8
    Top = 346
    Width = 104
    Height = 106
    Anchors = [akLeft, akTop, akBottom]
    Caption = 'Single Image'
    TabOrder = 16
    object btnLoad: TButton
      Left = 8
      Top = 20
      Width = 88
      Height = 25
      Hint = 'Open|Opens an existing file'
      Caption = '&Open...'
      TabOrder = 0
      OnClick = btnLoadClick
    end
    object btnExecute: TButton
      Left = 8
      Top = 52
      Width = 88
      Height = 25
      Caption = 'Create'
      TabOrder = 1
      OnClick = btnExecuteClick
    end
  end
  object GroupBoxMultiple: TGroupBox
    Left = 120
    Top = 346
    Width = 607
    Height = 106
    Anchors = [akLeft, akTop, akRight, akBottom]
    Caption = 'Multiple Images'
    TabOrder = 17
    object LabelInputDir: TLabel
      Left = 8
      Top = 16
      Caption = 'Image Directory'
    end
    object LabelImages: TLabel
      Left = 160
      Top = 16
      Caption = 'Images'
    end
    object LabelOutputDir: TLabel
      Left = 296
      Top = 16
      Caption = 'Thumbnail Directory'
    end
    object LabelThumbnails: TLabel
      Left = 448
      Top = 16
      Caption = 'Thumbnails'
    end
    object DriveComboBoxInput: TDriveComboBox
      Left = 8
      Top = 31
      Width = 145
      Height = 19
      DirList = DirectoryListBoxInput
      TabOrder = 0
    end
    object DirectoryListBoxInput: TDirectoryListBox
      Left = 8
      Top = 53
      Width = 145
      Height = 45
      Anchors = [akLeft, akTop, akBottom]
      TabOrder = 1
      OnChange = DirectoryListBoxInputChange
    end
    object ListBox1: TListBox
      Left = 160
      Top = 31
      Width = 129
      Height = 67
      Anchors = [akLeft, akTop, akBottom]
      TabOrder = 2
    end
    object DriveComboBoxOutput: TDriveComboBox
      Left = 296
      Top = 31
      Width = 145
      Height = 19
      DirList = DirectoryListBoxOutput
      TabOrder = 3
    end
    object DirectoryListBoxOutput: TDirectoryListBox
      Left = 296
      Top = 53
      Width = 145
      Height = 45
      Anchors = [akLeft, akTop, akBottom]
      TabOrder = 4
      OnChange = DirectoryListBoxOutputChange
    end
    object ListBox2: TListBox
      Left = 448
      Top = 31
      Width = 85
      Height = 67
      Anchors = [akLeft, akTop, akRight, akBottom]
      TabOrder = 5
    end
    object ButtonThumbnails: TButton
      Left = 541
      Top = 31
      Width = 58
      Height = 25
      Anchors = [akTop, akRight]
      Caption = 'Create'
      TabOrder = 6
      OnClick = ButtonThumbnailsClick
    end
    object ButtonView: TButton
      Left = 541
      Top = 63
      Width = 58
      Height = 25
      Anchors = [akTop, akRight]
      Caption = 'View'
      TabOrder = 7
      OnClick = ButtonViewClick
    end
    object EditInputDir: TEdit
      Left = 8
      Top = 76
      Width = 145
      Height = 21
      ReadOnly = True
      TabOrder = 8
      Visible = False
      OnExit = EditInputDirExit
    end
    object EditOutputDir: TEdit
      Left = 296
      Top = 76
      Width = 145
      Height = 21
      ReadOnly = True
      TabOrder = 9
      Visible = False
      OnExit = EditOutputDirExit
    end
  end
  object LabelProcessing: TLabel
    Left = 8
    Top = 464
    Width = 300
    Height = 13
    Anchors = [akLeft, akBottom]
    AutoSize = False
  end
  object ButtonClose: TBitBtn
    Left = 652
    Top = 458
    Width = 75
    Height = 25
    Anchors = [akRight, akBottom]
    Kind = bkClose
    TabOrder = 18
  end
  object MemoHTML: TMemo
    Left = 8
    Top = 458
    Width = 40
    Height = 20
    TabOrder = 19
    Visible = False
    WordWrap = False
  end
  object MemoHTMLweb: TMemo
    Left = 56
    Top = 458
    Width = 40
    Height = 20
    TabOrder = 20
    Visible = False
    WordWrap = False
  end
  object MemoJPEG: TMemo
    Left = 104
    Top = 458
    Width = 40
    Height = 20
    TabOrder = 21
    Visible = False
  end
  object QnRegistry1: TQnRegistry
  end
  object OpenPictureDialog1: TOpenPictureDialog
    Filter = 
      'All (*.jpg;*.jpeg;*.bmp;*.gif;*.png;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.j' +
      'pg;*.jpeg;*.bmp;*.gif;*.png;*.ico;*.emf;*.wmf|JPEG Image File (*.jpg)|*' +
      '.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|GIF (*.gif)|' +
      '*.gif|PNG (*.png)|*.png|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wm' +
      'f)|*.wmf|Icons (*.ico)|*.ico'
    Options = [ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing]
  end
  object OpenDialog1: TOpenDialog
  end
  object FontDialog1: TFontDialog
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    MinFontSize = 0
    MaxFontSize = 0
    OnApply = FontDialog1Apply
  end
  object ActionList1: TActionList
    object FileExit1: TFileExit
      Category = 'File'
      Caption = 'E&xit'
      Hint = 'Exit|Quits the application'
    end
    object ActionFont: TAction
      Category = 'Options'
      Caption = 'Fonts'
      OnExecute = ActionFontExecute
    end
    object BrowseURL1: TBrowseURL
      Category = 'Internet'
      Caption = '&Browse URL'
      Hint = 'Browse URL'
      URL = 'http://search.example.com'
    end
    object SendMail1: TSendMail
      Category = 'Internet'
      Caption = '&Send Mail...'
      Hint = 'Send email'
    end
    object HelpContents1: THelpContents
      Category = 'Help'
      Caption = '&Contents'
      Hint = 'Help Contents'
      OnExecute = HelpContents1Execute
    end
    object HelpTopicSearch1: THelpTopicSearch
      Category = 'Help'
      Caption = '&Index'
      Hint = 'Topic Search'
      OnExecute = HelpTopicSearch1Execute
    end
    object HelpOnHelp1: THelpOnHelp
      Category = 'Help'
      Caption = '&Help on Help'
      Hint = 'Help on help'
      OnExecute = HelpOnHelp1Execute
    end
    object HelpAbout: TAction
      Category = 'Help'
      Caption = '&About'
      OnExecute = HelpAboutExecute
    end
    object HelpWeb: TAction
      Category = 'Help'
      Caption = 'Help on &Web'
      OnExecute = ActionHelpOnWebExecute
    end
    object HelpEmail: TAction
      Category = 'Help'
      Caption = '&E-mail Author for Help'
      OnExecute = ActionSendMailExecute
    end
  end
  object SkinData1: TSkinData
    Active = False
    DisableTag = 99
    SkinControls = [xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox, xcStatusBar, xcTab]
    SkinFormtype = sfMainform
    OnSkinChanged = SkinData1SkinChanged
    SkinStream = @'Builtin.skn'
  end
  object SkinStore1: TSkinStore
    Store = <
      item
        Name = 'SkinItem0'
        SkinData = 'Load Skin'
        DataStream = @'Blue.skn'
      end
      item
        Name = 'SkinItem1'
        SkinData = 'Load Skin'
        DataStream = @'Silver.skn'
      end
      item
        Name = 'SkinItem2'
        SkinData = 'Load Skin'
        DataStream = @'Green.skn'
      end
      item
        Name = 'SkinItem3'
        SkinData = 'Load Skin'
        DataStream = @'Blue.skn'
      end>
  end
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object Open1: TMenuItem
        Caption = '&Open...'
        Hint = 'Open|Opens an existing file'
        ShortCut = 16463
        OnClick = btnLoadClick
      end
      object Exit1: TMenuItem
        Action = FileExit1
      end
    end
    object Options1: TMenuItem
      Caption = '&Options'
      object Fonts1: TMenuItem
        Action = ActionFont
      end
      object Skins1: TMenuItem
        Caption = '&Skins'
        object SkinBlue: TMenuItem
          Caption = '&Blue'
          OnClick = SkinClick
        end
        object SkinSilver: TMenuItem
          Tag = 1
          Caption = '&Silver'
          OnClick = SkinClick
        end
        object SkinGreen: TMenuItem
          Tag = 2
          Caption = '&Green'
          OnClick = SkinClick
        end
        object SkinNone: TMenuItem
          Tag = 3
          Caption = '&Unskin'
          OnClick = SkinNoneClick
        end
        object SkinLoad: TMenuItem
          Tag = 4
          Caption = '&Load'
          OnClick = SkinLoadClick
        end
      end
    end
    object Internet1: TMenuItem
      Caption = '&Internet'
      object BrowseURL2: TMenuItem
        Action = BrowseURL1
      end
      object SendMail2: TMenuItem
        Action = SendMail1
      end
    end
    object Help1: TMenuItem
      Caption = '&Help'
      object Index1: TMenuItem
        Action = HelpTopicSearch1
      end
      object Contents1: TMenuItem
        Action = HelpContents1
      end
      object HelponHelp2: TMenuItem
        Action = HelpOnHelp1
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object HelponWeb1: TMenuItem
        Action = HelpWeb
      end
      object EmailAuthorforHelp1: TMenuItem
        Action = HelpEmail
      end
      object N2: TMenuItem
        Caption = '-'
      end
      object About1: TMenuItem
        Action = HelpAbout
      end
    end
  end
end
