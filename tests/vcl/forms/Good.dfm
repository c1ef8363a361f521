object GoodForm: TGoodForm
  Left = 10
  Top = 20
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsSingle
  Caption = 'It''s a '#39'test'#39' form'
  ClientHeight = 300
  ClientWidth = 400
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Menu = MainMenu1
  OldCreateOrder = False
  Position = poDesktopCenter
  Scaled = False
  PixelsPerInch = 96
  TextHeight = 13
  object GroupBox1: TGroupBox
    Left = 8
    Top = 8
    Width = 200
    Height = 150
    Caption = ' Group '
    TabOrder = 1
    object Button1: TButton
      Left = 8
      Top = 16
      Width = 75
      Height = 25
      Hint = 'Будет реализовано в следующих версиях'
      Caption = 'Press'
      ShowHint = True
      TabOrder = 0
      OnClick = Button1Click
      OnKeyPress = Edit1KeyPress
    end
    object RadioGroup1: TRadioGroup
      Left = 8
      Top = 48
      Width = 150
      Height = 90
      Caption = ' Range '
      ItemIndex = 2
      Items.Strings = (
        'first'
        'second'
        'third')
      TabOrder = 1
      OnClick = RadioGroup1Click
    end
  end
  object Edit1: TEdit
    Left = 216
    Top = 8
    Width = 100
    Height = 21
    TabOrder = 0
    Text = 'Hello, ' +
      'world'
    OnChange = Edit1Change
    OnKeyPress = Edit1KeyPress
  end
  object TrackBar1: TTrackBar
    Left = 216
    Top = 40
    Width = 150
    Height = 25
    Max = 31
    Position = 40
    LineSize = 2
    PageSize = 5
    Frequency = 1
    ThumbLength = 15
    TickMarks = tmBottomRight
    TickStyle = tsAuto
    OnChange = TrackBar1Change
  end
  object UpDown1: TUpDown
    Left = 216
    Top = 72
    Width = 40
    Height = 10
    Min = 5
    Max = 9
    Orientation = udHorizontal
    OnClick = UpDown1Click
  end
  object CheckBox1: TCheckBox
    Left = 216
    Top = 90
    Width = 97
    Height = 17
    Caption = 'In use'
    Checked = True
    OnClick = CheckBox1Click
  end
  object ComboBox1: TComboBox
    Left = 216
    Top = 112
    Width = 100
    Height = 21
    Style = csDropDownList
    DropDownCount = 2
    ItemHeight = 13
    ItemIndex = 1
    Items.Strings = (
      '4800'
      '9600'
      '19200')
  end
  object PageControl1: TPageControl
    Left = 8
    Top = 160
    Width = 300
    Height = 100
    ActivePage = TabSheet2
    object TabSheet1: TTabSheet
      Caption = 'One'
      object Label1: TLabel
        Left = 4
        Top = 4
        Width = 100
        Height = 13
        Caption = 'Кириллица «ёж»'
        OnMouseEnter = Label1MouseEnter
      end
    end
    object TabSheet2: TTabSheet
      Caption = 'Two'
      object Memo1: TMemo
        Left = 0
        Top = 0
        Width = 200
        Height = 50
        Color = clBtnFace
        Lines.Strings = (
          'line one'
          'line two')
        ReadOnly = True
        ScrollBars = ssNone
      end
    end
  end
  object Panel1: TPanel
    Left = 8
    Top = 264
    Width = 200
    Height = 25
    BevelInner = bvRaised
    BevelOuter = bvLowered
    Caption = 'Panel'
    object Bevel1: TBevel
      Left = 2
      Top = 20
      Width = 190
      Height = 2
      Shape = bsBottomLine
    end
  end
  object ListBox1: TListBox
    Left = 320
    Top = 160
    Width = 60
    Height = 40
    ItemHeight = 13
    Items.Strings = (
      'Error!'
      'MHz')
    Visible = False
  end
  object MaskEdit1: TMaskEdit
    Left = 216
    Top = 136
    Width = 65
    Height = 21
    EditMask = '00,000;1;_'
    MaxLength = 6
    Text = '  ,   '
  end
  object Image1: TImage
    Left = 320
    Top = 210
    Width = 32
    Height = 32
    Picture = ':/forms/Pixel.png'
    Stretch = True
  end
  object MainMenu1: TMainMenu
    Left = 360
    Top = 8
    object N1: TMenuItem
      Caption = 'File'
      object N2: TMenuItem
        Caption = 'Open'
        OnClick = N2Click
      end
      object N3: TMenuItem
        Caption = '-'
      end
    end
  end
  object OpenDialog1: TOpenDialog
    Filter = 'Tunes files (*.tun)|*.tun|All files (*.*)|*.*'
    InitialDir = '.'
    Title = 'Open settings file'
    Left = 360
    Top = 40
  end
end
