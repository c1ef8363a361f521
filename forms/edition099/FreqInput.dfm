object FormFreqInput: TFormFreqInput
  Left = 400
  Top = 300
  BorderIcons = [biSystemMenu]
  BorderStyle = bsToolWindow
  Caption = 'Input frequency'
  ClientHeight = 57
  ClientWidth = 250
  Color = clBtnFace
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poOwnerFormCenter
  object Label1: TLabel
    Left = 80
    Top = 16
    Width = 39
    Height = 24
    Caption = 'MHz'
    Font.Color = clWindowText
    Font.Height = -19
    Font.Name = 'MS Sans Serif'
    Font.Style = []
  end
  object MaskEdit1: TMaskEdit
    Left = 8
    Top = 16
    Width = 65
    Height = 28
    EditMask = '00,000;1;_'
    Font.Color = clWindowText
    Font.Height = -16
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    MaxLength = 6
    TabOrder = 0
    Text = '  ,   '
    OnChange = MaskEdit1Change
    OnKeyPress = MaskEdit1KeyPress
  end
  object Button1: TButton
    Left = 160
    Top = 16
    Width = 81
    Height = 25
    Caption = 'OK'
    TabOrder = 1
    OnClick = Button1Click
    OnKeyPress = MaskEdit1KeyPress
  end
  object ListBox1: TListBox
    Left = 128
    Top = 24
    Width = 121
    Height = 33
    ItemHeight = 13
    Items.Strings = (
      'MHz'
      'Frequency must be'
      'more'
      'less'
      'truncated 25kHz'
      'Error!')
    TabOrder = 2
    Visible = False
  end
end
