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
  Position = poScreenCenter
end
