object AboutBox: TAboutBox
  Left = 200
  Top = 108
  BorderStyle = bsDialog
  Caption = 'About Mirovo'
  ClientHeight = 304
  ClientWidth = 465
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clBlack
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OnCreate = FormCreate
  object ProgramIcon: TImage
    Left = 8
    Top = 8
    Width = 160
    Height = 160
    Stretch = True
    Transparent = True
    Picture = @'AboutPicture.bmp'
  end
  object Label1: TLabel
    Left = 180
    Top = 8
    Caption = 'Quendle Software'
  end
  object Label2: TLabel
    Left = 180
    Top = 28
    Caption = 'Freely given, as is, without warranty.'
  end
  object Label5: TLabel
    Left = 180
    Top = 48
    Caption = 'Aldric Fenmore'
  end
  object Label7: TLabel
    Left = 180
    Top = 72
    Caption = 'Version: Mirovo V1.1'
  end
  object Label6: TLabel
    Left = 180
    Top = 96
    Width = 277
    Height = 65
    Caption = 'Mirovo automates the Velk gallery building process for webmasters' +
      '. This product is intended to increase productivity in Velk buil' +
      'ding.'
    WordWrap = True
  end
  object Bevel1: TBevel
    Left = 180
    Top = 172
    Width = 277
    Height = 9
    Shape = bsTopLine
  end
  object Label3: TLabel
    Left = 180
    Top = 184
    Caption = 'Memory Available to Windows:'
  end
  object PhysMem: TLabel
    Left = 364
    Top = 184
    Caption = '0'
  end
  object Label4: TLabel
    Left = 180
    Top = 204
    Caption = 'Memory in Use:'
  end
  object FreeRes: TLabel
    Left = 364
    Top = 204
    Caption = '0'
  end
  object ButtonOK: TBitBtn
    Left = 382
    Top = 268
    Width = 75
    Height = 25
    Hint = 'Close the About Box'
    Default = True
    ParentShowHint = False
    ShowHint = True
    TabOrder = 0
    Kind = bkOK
  end
end
